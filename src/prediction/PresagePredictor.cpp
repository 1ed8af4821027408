// The caller's side of the prediction thread: numbers the requests, keeps only the answer to
// the latest, and tells what state the model is in.
#include "prediction/PresagePredictor.h"

#include "prediction/PresageEngine.h"
#include "prediction/PresageWorker.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
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
  case Status::Unavailable:
    return QStringLiteral(
        "Prédiction indisponible : aucun dossier où garder les mots appris n'est accessible.");
  }
  return {};
}

PresagePredictor::PresagePredictor(const QString& modelPath, const QString& userModelPath,
                                   QObject* parent)
    : WordPredictor(parent), FThread(std::make_unique<QThread>()),
      FLatest(std::make_shared<QAtomicInt>(-1)) {
  const QString user = userModelPath.isEmpty() ? defaultUserModel() : userModelPath;
  FStatus = checkModel(modelPath);
  // Without the library's module there is nothing to read the model with: as without a model.
  if (FStatus == Status::Ok && !presageModuleFound())
    FStatus = Status::ModelMissing;
  if (FStatus == Status::Ok && user.isEmpty())
    FStatus = Status::Unavailable;
  FWorker = std::make_unique<PresageWorker>(modelPath, user, FLatest);
  FWorker->moveToThread(FThread.get());
  connect(this, &PresagePredictor::predictRequested, FWorker.get(), &PresageWorker::predict);
  connect(this, &PresagePredictor::learnRequested, FWorker.get(), &PresageWorker::learn);
  connect(this, &PresagePredictor::teachRequested, FWorker.get(), &PresageWorker::teachBoard);
  connect(this, &PresagePredictor::countChanged, FWorker.get(), &PresageWorker::setCount);
  connect(this, &PresagePredictor::replacePassedOverChanged, FWorker.get(),
          &PresageWorker::setReplacePassedOver);
  connect(FWorker.get(), &PresageWorker::answered, this, &PresagePredictor::answer);
  connect(FWorker.get(), &PresageWorker::statusFound, this, &PresagePredictor::setStatus);
  FThread->setObjectName(QStringLiteral("prediction"));
  FThread->start(QThread::LowPriority);
}

void PresagePredictor::openOnce() {
  if (FOpened)
    return;
  FOpened = true;
  QMetaObject::invokeMethod(FWorker.get(), &PresageWorker::open, Qt::QueuedConnection);
}

PresagePredictor::~PresagePredictor() {
  FThread->quit();
  if (FThread->wait(QDeadlineTimer(kWorkerWaitMs))) {
    FWorker.reset();
    return;
  }
  // Held inside the library: quitting goes on without it, and the process ends it.
  FWorker->disconnect();
  (void)FWorker.release();
  (void)FThread.release();
}

void PresagePredictor::request(int id, const QString& textBefore) {
  FLatest->storeRelaxed(id);
  if (FStatus != Status::Ok)
    return;
  openOnce();
  emit predictRequested(id, textBefore);
}

void PresagePredictor::setSuggestionCount(int count) {
  emit countChanged(std::clamp(count, 1, kMostSuggestions));
}

void PresagePredictor::learn(const QString& phrase) {
  if (FStatus != Status::Ok)
    return;
  openOnce();
  emit learnRequested(phrase);
}

void PresagePredictor::teachBoardTexts(const QStringList& texts) {
  if (FStatus != Status::Ok || texts.isEmpty())
    return;
  openOnce();
  emit teachRequested(texts);
}

PredictionResult PresagePredictor::forgetLearned() {
  // Shared with the worker, which may answer after this call has given up waiting.
  struct Answer {
    QSemaphore done;
    PredictionResult result = PredictionResult::done();
  };
  auto answer = std::make_shared<Answer>();
  openOnce();
  QMetaObject::invokeMethod(
      FWorker.get(),
      [worker = FWorker.get(), answer] {
        answer->result = worker->forget();
        answer->done.release();
      },
      Qt::QueuedConnection);
  if (!answer->done.tryAcquire(1, kWorkerWaitMs))
    return PredictionResult::failed(QStringLiteral("la prédiction ne répond pas"));
  return answer->result;
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
  if (qEnvironmentVariableIsEmpty("HOME"))
    return {};
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
