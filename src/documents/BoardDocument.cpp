// Whole-board commands: load, save, make anew, and the change of password.
#include "documents/BoardDocument.h"

#include "documents/BoardStore.h"
#include "documents/SafeSave.h"
#include "documents/StorableText.h"
#include "documents/TFormChangeMdp.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace {
const QString kCaption = QStringLiteral("Orivox v1.0");
}

BoardDocument::BoardDocument(const Services& services, BoardStore& store, QWidget* dialogParent)
    : QObject(dialogParent), FServices(services), FStore(store), FDialogParent(dialogParent),
      FTitle(kCaption) {}

BoardDocument::~BoardDocument() = default;

QString BoardDocument::fileFilter() {
  return QStringLiteral("Fichiers ordinogrammes (*.ord) |*.ord");
}

void BoardDocument::setTitle(const QString& title) {
  FTitle = title;
  emit titleChanged(title);
}

BoardDocument::LoadOutcome BoardDocument::LoadBoard(const QString& path) {
  BoardReadResult result;
  const LoadOutcome outcome = readBoardFile(path, result, true);
  if (outcome == LoadOutcome::Loaded)
    applyBoard(result.data, path);
  return outcome;
}

BoardDocument::LoadOutcome BoardDocument::readBoardFile(const QString& path,
                                                        BoardReadResult& result, bool sayWhy) {
  if (!QFileInfo(path).isFile()) {
    FServices.messages->information(QStringLiteral("le fichier ") + path +
                                    QStringLiteral("n'existe pas"));
    return LoadOutcome::Missing;
  }
  QFile file(path);
  result = BoardReadResult{BoardReadStatus::Error, {}, 0}; // unreadable until read
  if (file.open(QIODevice::ReadOnly)) {
    result = boardfile::read(file);
    if (file.error() != QFileDevice::NoError)
      result = BoardReadResult{BoardReadStatus::Error, {}, 0}; // unreadable, whatever was read
  }
  // Nothing of a broken file reaches the board: what is on screen stays as it was. A file that
  // is not a board at all is one such file: opened as an empty board, it would be overwritten
  // by the next save.
  if (result.status != BoardReadStatus::Ok) {
    FServices.messages->information(
        sayWhy ? boardfile::refusalMessage(path, boardfile::refusalReason(result))
               : QStringLiteral("erreur de chargement du fichier"));
    return LoadOutcome::Broken;
  }
  return LoadOutcome::Loaded;
}

void BoardDocument::applyBoard(const BoardData& data, const QString& path) {
  FStore.showBoard(data);
  FFileName = path;
  setTitle(kCaption + QStringLiteral(" : ") + path);
  emit boardShown();
}

void BoardDocument::newBoard() {
  FStore.showDefaultBoard();
  FFileName.clear();
  setTitle(kCaption);
  emit boardShown();
}

bool BoardDocument::SaveBoard(bool saveAs) {
  if (saveAs || FFileName.isEmpty()) {
    const QString name = FServices.fileDialogs->saveFileName(fileFilter());
    if (name.isEmpty())
      return false;
    FFileName = name.size() > 4 && name.endsWith(QStringLiteral(".ord"))
                    ? name
                    : name + QStringLiteral(".ord");
  }

  const BoardData d = FStore.boardData();
  bool storable = true;
  for (const BoardTab& tab : d.tabs) {
    storable = storable && isStorableText(tab.caption);
    for (const QString& t : tab.texts)
      storable = storable && isStorableText(t);
  }

  // A text the file cannot hold would be lost: refuse the save instead. The file replaced is
  // kept as its backup.
  if (!storable || !saveKeepingBackup(FFileName, boardfile::write(d))) {
    FServices.messages->information(QStringLiteral("erreur d'enregistrement du fichier"));
    FFileName.clear();
    setTitle(kCaption);
    return false;
  }
  setTitle(kCaption + QStringLiteral(" : ") + FFileName);
  emit boardSaved(FFileName);
  return true;
}

void BoardDocument::BtnChangMdpClick() {
  if (!FFormChangeMdp)
    FFormChangeMdp = new TFormChangeMdp(FServices.messages, FDialogParent);
  if (FFormChangeMdp->exec() == 1)
    FPassword = FFormChangeMdp->GetNewPassword();
}
