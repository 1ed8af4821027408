// The main window: it builds the window (the creation panel above, the board and the display
// area below with the splitter between them, the logo), owns the collaborators that do the work
// (board view, document, scan session, creation panel), wires them together, and switches
// between the two modes with their shortcuts.
#pragma once

#include "documents/BoardDocument.h"
#include "platform/Services.h"

#include <QMainWindow>
#include <memory>

class ActionJournal;
class BoardView;
class CreationPanel;
class JournalTones;
class QLabel;
class QPushButton;
class QSplitter;
class QWidget;
class ScanSession;
class TAboutBox;
class TFormMdp;
class WordPredictor;

class TMainFrame : public QMainWindow {
  Q_OBJECT
public:
  // The program folder holds "conf/conf.txt"; the services and the word predictor (none: no
  // suggestions) are not owned.
  TMainFrame(const Services& services, const QString& programFolder,
             WordPredictor* predictor = nullptr, QWidget* parent = nullptr);
  ~TMainFrame() override;

  // The collaborators.
  BoardView& view() { return *FView; }
  BoardDocument& document() { return *FDocument; }
  ScanSession& session() { return *FSession; }
  CreationPanel& panel() { return *FPanel; }
  const Services& services() const { return FServices; }
  QString programFolder() const { return FProgramFolder; }

  // Start-up and life cycle.
  void SetPassword(const QString& password);
  void FormShow();
  // False when the board asked to be saved could not be: the window stays open with it.
  bool FormClose();
  BoardDocument::LoadOutcome LoadBoard(const QString& path);
  void BtnNouveauClick();

  // Modes and shortcuts.
  // True when the key was a shortcut of the moment and acted.
  bool FormShortCut(int key, Qt::KeyboardModifiers modifiers);
  void EnterExecutionMode();
  void EnterCreationMode();
  void LogoClick();
  // The password prompt and the about box, made once before they are first needed.
  void createDialogs();

  // The window's own parts, for the tests that look at them.
  QSplitter* splitter() const { return Splitter; }
  QWidget* focusHolder() const;
  QWidget* logoPanel() const { return PnlLogo; }

protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void buildLayout();
  void wire();
  void journal(const char* event, const QString& detail);

  Services FServices;
  QString FProgramFolder;
  WordPredictor* FPredictor;
  std::unique_ptr<ActionJournal> FJournal;
  std::unique_ptr<JournalTones> FJournalTones;
  BoardView* FView = nullptr;
  BoardDocument* FDocument = nullptr;
  CreationPanel* FPanel = nullptr;
  ScanSession* FSession = nullptr;
  QSplitter* Splitter = nullptr;
  QWidget* PnlBas = nullptr;
  QWidget* PnlLogo = nullptr;
  QLabel* Logo = nullptr;
  QPushButton* Buttoncache = nullptr;
  TFormMdp* FormMdp = nullptr;
  TAboutBox* AboutBox = nullptr;
  bool FShown = false;
  bool FClosed = false;
};
