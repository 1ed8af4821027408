// The board as a document: the file it comes from, whether it differs from that file, the
// password kept with it, and the commands that read, save and replace it. A board file is read
// and checked whole before the board on screen is touched, and saved so that a failed save
// leaves the previous file intact.
#pragma once

#include "documents/BoardFile.h"
#include "platform/Services.h"

#include <QObject>
#include <QPointer>

class BoardStore;
class QWidget;
class TFormChangeMdp;

class BoardDocument : public QObject {
  Q_OBJECT
public:
  // The board shown is `store`; the password dialog opens over `dialogParent`.
  BoardDocument(const Services& services, BoardStore& store, QWidget* dialogParent);
  ~BoardDocument() override;

  enum class LoadOutcome { Loaded, Missing, Broken };
  // Read and checked (messages shown), then put on screen.
  LoadOutcome LoadBoard(const QString& path);
  // sayWhy: the message names the file and why it was refused (the board named at start).
  LoadOutcome readBoardFile(const QString& path, BoardReadResult& result, bool sayWhy = false);
  void applyBoard(const BoardData& data, const QString& path);
  // The default board, with no file.
  void newBoard();
  // True once the board is in its file (false: refused, failed or no name chosen).
  bool SaveBoard(bool saveAs);
  void BtnChangMdpClick();

  const QString& fileName() const { return FFileName; }
  void setFileName(const QString& path) { FFileName = path; }
  bool saved() const { return FSaved; }
  void setSaved(bool saved) { FSaved = saved; }
  const QString& password() const { return FPassword; }
  void setPassword(const QString& password) { FPassword = password; }
  const QString& title() const { return FTitle; }
  void setTitle(const QString& title);

  static QString fileFilter();
  // The message of a save that failed: the file (or the board, before it has one) and why.
  static QString saveErrorMessage(const QString& path, const QString& why);

signals:
  void titleChanged(const QString& title);
  // A whole board was put on screen (read, restored or made anew).
  void boardShown();
  void boardSaved(const QString& path);

private:
  Services FServices;
  BoardStore& FStore;
  QPointer<QWidget> FDialogParent;
  TFormChangeMdp* FFormChangeMdp = nullptr;
  QString FFileName;
  QString FPassword;
  QString FTitle;
  bool FSaved = false;
};
