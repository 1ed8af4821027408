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

QString BoardDocument::saveErrorMessage(const QString& path, const QString& why) {
  return (path.isEmpty() ? QStringLiteral("erreur d'enregistrement du tableau")
                         : QStringLiteral("erreur d'enregistrement du fichier ") + path) +
         QStringLiteral(" : ") + why;
}

bool BoardDocument::SaveBoard(bool saveAs) {
  // A text the file cannot hold would be lost: the save is refused before a name is asked,
  // saying which text stops it, so that the carer can mend it.
  const BoardData d = FStore.boardData();
  if (const auto unstorable = unstorableTextIn(d)) {
    FServices.messages->information(saveErrorMessage(FFileName, *unstorable));
    return false;
  }
  QString path = FFileName;
  if (saveAs || path.isEmpty()) {
    const QString name = FServices.fileDialogs->saveFileName(fileFilter());
    if (name.isEmpty())
      return false;
    path = name.size() > 4 && name.endsWith(QStringLiteral(".ord")) ? name
                                                                    : name + QStringLiteral(".ord");
  }
  // A failed save changes nothing of the document: the board keeps its file, its title and its
  // changes to save, and the file replaced stays as it was, with its backup.
  const FileSaveResult saved = saveWithBackup(path, boardfile::write(d));
  if (!saved.ok()) {
    FServices.messages->information(saveErrorMessage(path, saved.errorString()));
    return false;
  }
  FFileName = path;
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
