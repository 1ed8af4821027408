// The caller's side of the prediction thread: numbers the requests, keeps only the answer to
// the latest, and tells what state the model is in.
#include "prediction/PresagePredictor.h"

#include "prediction/PresageWorker.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

QString WordPredictor::statusText(Status status) {
  switch (status) {
  case Status::Ok:
    return QStringLiteral("Prédiction de mots prête.");
  case Status::ModelMissing:
    return QStringLiteral(
        "Prédiction indisponible : le dictionnaire de prédiction est introuvable.");
  case Status::ModelDamaged:
    return QStringLiteral("Prédiction indisponible : le dictionnaire de prédiction est endommagé.");
  }
  return {};
}

PresagePredictor::PresagePredictor(const QString& modelPath, const QString& userModelPath,
                                   QObject* parent)
    : WordPredictor(parent), FLatest(std::make_shared<QAtomicInt>(-1)) {
  FStatus = checkModel(modelPath);
  FWorker = std::make_unique<PresageWorker>(
      modelPath, userModelPath.isEmpty() ? defaultUserModel() : userModelPath, FLatest);
  FWorker->moveToThread(&FThread);
  connect(this, &PresagePredictor::predictRequested, FWorker.get(), &PresageWorker::predict);
  connect(this, &PresagePredictor::learnRequested, FWorker.get(), &PresageWorker::learn);
  connect(this, &PresagePredictor::forgetRequested, FWorker.get(), &PresageWorker::forget);
  connect(this, &PresagePredictor::countChanged, FWorker.get(), &PresageWorker::setCount);
  connect(FWorker.get(), &PresageWorker::answered, this, &PresagePredictor::answer);
  connect(FWorker.get(), &PresageWorker::statusFound, this, &PresagePredictor::setStatus);
  FThread.setObjectName(QStringLiteral("prediction"));
  FThread.start(QThread::LowPriority);
}

void PresagePredictor::openOnce() {
  if (FOpened)
    return;
  FOpened = true;
  QMetaObject::invokeMethod(FWorker.get(), &PresageWorker::open, Qt::QueuedConnection);
}

PresagePredictor::~PresagePredictor() {
  FThread.quit();
  FThread.wait();
  FWorker.reset();
}

void PresagePredictor::request(int id, const QString& textBefore) {
  FLatest->storeRelaxed(id);
  if (FStatus != Status::Ok)
    return;
  openOnce();
  emit predictRequested(id, textBefore);
}

void PresagePredictor::setSuggestionCount(int count) {
  emit countChanged(std::clamp(count, 1, 8));
}

void PresagePredictor::learn(const QString& phrase) {
  openOnce();
  emit learnRequested(phrase);
}

void PresagePredictor::forgetLearned() {
  openOnce();
  emit forgetRequested();
}

void PresagePredictor::answer(int id, const QStringList& words) {
  if (id == FLatest->loadRelaxed())
    emit suggestions(id, words);
}

void PresagePredictor::setStatus(Status s) {
  if (s == FStatus)
    return;
  FStatus = s;
  emit statusChanged(s);
}

QString PresagePredictor::findModel() {
  const QString dir = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {dir + QStringLiteral("/../share/orivox/fr.db"),
                                   dir + QStringLiteral("/share/orivox/fr.db")})
    if (QFileInfo::exists(candidate))
      return QFileInfo(candidate).canonicalFilePath();
  return {};
}

QString PresagePredictor::defaultUserModel() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  return dir.isEmpty() ? QString() : dir + QStringLiteral("/mots-appris.db");
}

WordPredictor::Status PresagePredictor::checkModel(const QString& path) {
  QFile f(path);
  if (path.isEmpty() || !f.exists())
    return Status::ModelMissing;
  if (!f.open(QIODevice::ReadOnly))
    return Status::ModelDamaged;
  static const QByteArray kSqliteHeader("SQLite format 3\0", 16);
  return f.read(16) == kSqliteHeader ? Status::Ok : Status::ModelDamaged;
}
