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
#include <sqlite3.h>

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

// Whether the n-gram tables agree with one another. Presage divides an n-gram's count by its
// context's and aborts the whole program (an assertion, not an exception) when the context is
// missing or counts less: a model cut by hand or by another tool must be refused before.
bool consistent(const QString& path) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(utf8(path).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  static const char* const kChecks[] = {
      "SELECT count(*) FROM _1_gram WHERE count < 0",
      "SELECT count(*) FROM _2_gram b LEFT JOIN _1_gram u ON u.word = b.word_1"
      " WHERE u.count IS NULL OR b.count > u.count",
      "SELECT count(*) FROM _3_gram t LEFT JOIN _2_gram b"
      " ON b.word_1 = t.word_2 AND b.word = t.word_1 WHERE b.count IS NULL OR t.count > b.count",
      // The library writes every word into its SQL as it is: a quote in a word breaks it.
      "SELECT count(*) FROM _1_gram WHERE instr(word, '''') > 0",
  };
  bool ok = true;
  for (const char* sql : kChecks) {
    sqlite3_stmt* st = nullptr;
    ok = sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
         sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int64(st, 0) == 0;
    sqlite3_finalize(st);
    if (!ok)
      break;
  }
  sqlite3_close(db);
  return ok;
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
  Status base = PresagePredictor::checkModel(FModelPath);
  if (base == Status::Ok && !consistent(FModelPath))
    base = Status::ModelDamaged;
  if (base != Status::Ok) {
    emit statusFound(base);
    return false;
  }
  // The learned words: a damaged file is put aside (and kept) so that learning starts again;
  // without a folder to write in, prediction goes on with the base model alone.
  bool user = !FUserModelPath.isEmpty() && QDir().mkpath(QFileInfo(FUserModelPath).absolutePath());
  if (user && QFileInfo::exists(FUserModelPath) &&
      (PresagePredictor::checkModel(FUserModelPath) != Status::Ok || !consistent(FUserModelPath))) {
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
