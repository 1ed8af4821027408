// The library is configured in code rather than by a configuration file: the base model, never
// written, and the person's own model, which learns only what it is explicitly taught (its
// learning from the context would learn every half-typed word).
#include "prediction/PresageWorker.h"

#include "prediction/FrenchText.h"
#include "prediction/PresagePredictor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <presage.h>

#include <exception>

// The text presage reads: the one it was handed last.
class ModelContext : public PresageCallback {
public:
  std::string get_past_stream() const override { return past; }
  std::string get_future_stream() const override { return {}; }
  std::string past;
};

namespace {
// More words than shown are asked for: the phrase-start word and duplicates after restoring
// case are dropped.
constexpr int kSpareWords = 3;

std::string utf8(const QString& s) {
  return s.toStdString();
}
} // namespace

PresageWorker::PresageWorker(const QString& modelPath, const QString& userModelPath,
                             std::shared_ptr<QAtomicInt> latest)
    : FModelPath(modelPath), FUserModelPath(userModelPath), FLatest(std::move(latest)) {}

PresageWorker::~PresageWorker() {
  close();
}

void PresageWorker::close() {
  FPresage.reset();
  FContext.reset();
}

bool PresageWorker::openPresage() {
  close();
  using Status = WordPredictor::Status;
  const Status base = PresagePredictor::checkModel(FModelPath);
  if (base != Status::Ok) {
    emit statusFound(base);
    return false;
  }
  // The learned words: a damaged file is put aside (and kept) so that learning starts again;
  // without a folder to write in, prediction goes on with the base model alone.
  bool user = !FUserModelPath.isEmpty() && QDir().mkpath(QFileInfo(FUserModelPath).absolutePath());
  if (user && QFileInfo::exists(FUserModelPath) &&
      PresagePredictor::checkModel(FUserModelPath) != Status::Ok) {
    const QString aside = FUserModelPath + QStringLiteral(".damaged");
    QFile::remove(aside);
    user = QFile::rename(FUserModelPath, aside);
  }
  // The library makes a missing database itself, but crashes where it cannot.
  if (user && !QFileInfo::exists(FUserModelPath))
    user = QFileInfo(QFileInfo(FUserModelPath).absolutePath()).isWritable();
  try {
    FContext = std::make_unique<ModelContext>();
    // No configuration file: the library's built-in defaults, set below.
    FPresage = std::make_unique<Presage>(FContext.get(), std::string());
    FPresage->config("Presage.PredictorRegistry.PREDICTORS",
                     user ? "DefaultSmoothedNgramPredictor UserSmoothedNgramPredictor"
                          : "DefaultSmoothedNgramPredictor");
    FPresage->config("Presage.Predictors.DefaultSmoothedNgramPredictor.DBFILENAME",
                     utf8(FModelPath));
    FPresage->config("Presage.Predictors.DefaultSmoothedNgramPredictor.LEARN", "false");
    if (user) {
      FPresage->config("Presage.Predictors.UserSmoothedNgramPredictor.DBFILENAME",
                       utf8(FUserModelPath));
      FPresage->config("Presage.Predictors.UserSmoothedNgramPredictor.LEARN", "true");
    }
    FPresage->config("Presage.ContextTracker.ONLINE_LEARNING", "no");
    // Each request stands alone: a word offered for the previous letter is offered again.
    FPresage->config("Presage.Selector.REPEAT_SUGGESTIONS", "yes");
    FPresage->config("Presage.Selector.SUGGESTIONS", std::to_string(FCount + kSpareWords));
    // A first prediction reads every table: a database without them throws here.
    FContext->past = utf8(frenchtext::toModel(QString()));
    FPresage->predict();
  } catch (const std::exception&) {
    close();
    emit statusFound(Status::ModelDamaged);
    return false;
  } catch (...) {
    close();
    emit statusFound(Status::ModelDamaged);
    return false;
  }
  emit statusFound(Status::Ok);
  return true;
}

void PresageWorker::open() {
  openPresage();
}

void PresageWorker::predict(int id, const QString& text) {
  // A newer request is already queued: this one's answer would be dropped anyway.
  if (id != FLatest->loadRelaxed() || !FPresage)
    return;
  QStringList words;
  try {
    FPresage->config("Presage.Selector.SUGGESTIONS", std::to_string(FCount + kSpareWords));
    FContext->past = utf8(frenchtext::toModel(text));
    const std::vector<std::string> predicted = FPresage->predict();
    const QString typed = frenchtext::wordPrefix(text);
    const bool start = frenchtext::startsPhrase(text);
    for (const std::string& p : predicted) {
      const QString w = QString::fromStdString(p);
      if (w.isEmpty() || w.contains(QChar(frenchtext::kPhraseStart)))
        continue;
      const QString shown = frenchtext::restoreCase(frenchtext::fromModel(w), typed, start);
      if (!words.contains(shown))
        words << shown;
      if (words.size() >= FCount)
        break;
    }
  } catch (...) {
    // A query the library could not run: no suggestions this time, the scan goes on.
    words.clear();
  }
  emit answered(id, words);
}

void PresageWorker::learn(const QString& phrase) {
  if (!FPresage)
    return;
  static const QRegularExpression kPhraseEnd(QStringLiteral("[.!?\u2026\\r\\n]+"));
  try {
    for (const QString& part : phrase.split(kPhraseEnd, Qt::SkipEmptyParts)) {
      if (part.trimmed().isEmpty())
        continue;
      // The closing space makes the last word whole: the library leaves a word being written
      // out of what it learns.
      FPresage->learn(utf8(frenchtext::toModel(part) + QLatin1Char(' ')));
    }
  } catch (...) {
    // Not learned; nothing else changes.
  }
}

void PresageWorker::forget() {
  close();
  if (!FUserModelPath.isEmpty())
    QFile::remove(FUserModelPath);
  openPresage();
}
