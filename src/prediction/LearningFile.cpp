// Every write takes the file with BEGIN IMMEDIATE under a busy timeout: another program holding
// it (a second Orivox, a backup, the sqlite3 shell) makes a step wait, then report Busy, and the
// file is left as it is. Only a file that is no learning file at all is set aside.
#include "prediction/LearningFile.h"

#include "prediction/FrenchText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <sqlite3.h>

namespace {

const QByteArray kSqliteHeader("SQLite format 3\0", 16);

QString quoted(const QString& path) {
  return QStringLiteral("« %1 »").arg(QDir::toNativeSeparators(path));
}

PredictionResult fromSqlite(int rc, sqlite3* db, const QString& path) {
  const QString why = QStringLiteral("%1 : %2").arg(
      quoted(path), QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  switch (rc & 0xff) {
  case SQLITE_BUSY:
  case SQLITE_LOCKED:
    return PredictionResult::busy(why);
  case SQLITE_NOTADB:
  case SQLITE_CORRUPT:
  case SQLITE_ERROR: // a table missing or of another shape
    return PredictionResult::damaged(why);
  default:
    return PredictionResult::failed(why);
  }
}

// Runs a query of one number.
PredictionResult scalar(sqlite3* db, const QString& path, const char* sql, qint64& value) {
  sqlite3_stmt* st = nullptr;
  int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
  if (rc == SQLITE_OK) {
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      value = sqlite3_column_int64(st, 0);
      rc = SQLITE_OK;
    }
  }
  const PredictionResult r = rc == SQLITE_OK ? PredictionResult::done() : fromSqlite(rc, db, path);
  sqlite3_finalize(st);
  return r;
}

PredictionResult checkCountsOf(sqlite3* db, const QString& path) {
  static const char* const kChecks[] = {
      "SELECT count(*) FROM _1_gram WHERE count < 0",
      "SELECT count(*) FROM _2_gram b LEFT JOIN _1_gram u ON u.word = b.word_1"
      " WHERE u.count IS NULL OR b.count > u.count",
      "SELECT count(*) FROM _3_gram t LEFT JOIN _2_gram b"
      " ON b.word_1 = t.word_2 AND b.word = t.word_1 WHERE b.count IS NULL OR t.count > b.count",
      // The library writes every word into its SQL as it is: a quote in a word breaks it.
      "SELECT count(*) FROM _1_gram WHERE instr(word, '''') > 0",
  };
  for (const char* sql : kChecks) {
    qint64 wrong = 0;
    const PredictionResult r = scalar(db, path, sql, wrong);
    if (!r.ok())
      return r;
    if (wrong != 0)
      return PredictionResult::damaged(
          QStringLiteral("%1 : des comptes de mots ne s'accordent pas").arg(quoted(path)));
  }
  return PredictionResult::done();
}

// A file that is there and is no SQLite database: the library would crash on it.
bool foreignFile(const QString& path) {
  QFile f(path);
  return f.exists() && f.size() > 0 && f.open(QIODevice::ReadOnly) && f.read(16) != kSqliteHeader;
}

// One n-gram counted `add` times more: the same whether the table was made here or by the
// library, with or without a unique index.
struct Gram {
  const char* update;
  const char* insert;
  int words;
};
const Gram kGrams[] = {
    {"UPDATE _1_gram SET count = count + ?1 WHERE word = ?2",
     "INSERT INTO _1_gram (count, word) VALUES (?1, ?2)", 1},
    {"UPDATE _2_gram SET count = count + ?1 WHERE word_1 = ?2 AND word = ?3",
     "INSERT INTO _2_gram (count, word_1, word) VALUES (?1, ?2, ?3)", 2},
    {"UPDATE _3_gram SET count = count + ?1 WHERE word_2 = ?2 AND word_1 = ?3 AND word = ?4",
     "INSERT INTO _3_gram (count, word_2, word_1, word) VALUES (?1, ?2, ?3, ?4)", 3},
};

int bumpGram(sqlite3* db, const Gram& g, const QStringList& words, qint64 add) {
  for (const char* sql : {g.update, g.insert}) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_int64(st, 1, add);
      for (int i = 0; i < g.words; ++i) {
        const QByteArray w = words.at(i).toUtf8();
        sqlite3_bind_text(st, i + 2, w.constData(), int(w.size()), SQLITE_TRANSIENT);
      }
      rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
      return rc;
    if (sqlite3_changes(db) > 0)
      return SQLITE_OK;
  }
  return SQLITE_OK;
}

// What a text teaches, keyed by its words: the same words with other capitals or punctuation
// are the same lesson.
QString lessonKey(const QList<QStringList>& phrases) {
  // The same words are the same lesson, whatever sign ends them: "Bonne nuit !" is "Bonne nuit",
  // and lessons kept before the signs were counted keep their keys.
  QStringList lines;
  for (QStringList p : phrases) {
    p.removeIf([](const QString& w) { return frenchtext::isMarker(w); });
    lines << p.join(QLatin1Char(' '));
  }
  return QString::fromLatin1(
      QCryptographicHash::hash(lines.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1)
          .toHex());
}

} // namespace

LearningFile::LearningFile(const QString& path, int busyTimeoutMs)
    : FPath(path), FBusyTimeoutMs(busyTimeoutMs) {}

LearningFile::~LearningFile() {
  close();
}

void LearningFile::close() {
  sqlite3_close(FDb);
  FDb = nullptr;
}

PredictionResult LearningFile::run(const char* sql) {
  const int rc = sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr);
  return rc == SQLITE_OK ? PredictionResult::done() : fromSqlite(rc, FDb, FPath);
}

PredictionResult LearningFile::open() {
  close();
  if (foreignFile(FPath))
    return PredictionResult::damaged(
        QStringLiteral("%1 n'est pas un fichier de mots appris").arg(quoted(FPath)));
  const int rc = sqlite3_open_v2(FPath.toUtf8().constData(), &FDb,
                                 SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    const PredictionResult r = PredictionResult::failed(
        QStringLiteral("%1 : %2").arg(quoted(FPath), QString::fromUtf8(sqlite3_errmsg(FDb))));
    close();
    return r;
  }
  sqlite3_busy_timeout(FDb, FBusyTimeoutMs);
  qint64 grams = 0;
  qint64 tables = 0;
  PredictionResult r = scalar(FDb, FPath,
                              "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN"
                              " ('_1_gram', '_2_gram', '_3_gram')",
                              grams);
  if (r.ok())
    r = scalar(FDb, FPath, "SELECT count(*) FROM sqlite_master WHERE type = 'table'", tables);
  if (r.ok() && grams == 0 && tables == 0)
    r = run("CREATE TABLE IF NOT EXISTS _1_gram (word TEXT, count INTEGER, UNIQUE(word));"
            "CREATE TABLE IF NOT EXISTS _2_gram (word_1 TEXT, word TEXT, count INTEGER,"
            " UNIQUE(word_1, word));"
            "CREATE TABLE IF NOT EXISTS _3_gram (word_2 TEXT, word_1 TEXT, word TEXT,"
            " count INTEGER, UNIQUE(word_2, word_1, word));");
  else if (r.ok() && grams != 3)
    r = PredictionResult::damaged(
        QStringLiteral("%1 n'est pas un fichier de mots appris").arg(quoted(FPath)));
  if (r.ok())
    r = checkCountsOf(FDb, FPath);
  // Files written before board texts were remembered get the table on first use.
  if (r.ok())
    r = run("CREATE TABLE IF NOT EXISTS taught (lesson TEXT PRIMARY KEY)");
  if (!r.ok())
    close();
  return r;
}

PredictionResult LearningFile::learn(const QStringList& texts) {
  return count(texts, {});
}

PredictionResult LearningFile::teachOnce(const QStringList& texts) {
  return count({}, texts);
}

PredictionResult LearningFile::count(const QStringList& texts, const QStringList& onlyNew) {
  if (!FDb)
    return PredictionResult::failed(QStringLiteral("%1 n'est pas ouvert").arg(quoted(FPath)));
  PredictionResult r = run("BEGIN IMMEDIATE");
  if (!r.ok())
    return r;
  // Counted in memory first: one row written per n-gram, however often it occurs. Written in
  // the words' order, never a hash's: the library reads the words of a prefix in the order the
  // rows were written, and ties between equal counts must fall the same way every time.
  std::map<QStringList, qint64> grams[3];
  const auto countPhrases = [&grams](const QList<QStringList>& phrases) {
    for (const QStringList& words : phrases) {
      QStringList seq{QString(QChar(frenchtext::kPhraseStart))};
      seq += words;
      // The phrase-start word is the context of the first pair: counted once a phrase.
      ++grams[0][{seq.front()}];
      for (qsizetype i = 1; i < seq.size(); ++i)
        for (int n = 0; n < 3 && n < i + 1; ++n)
          ++grams[n][seq.mid(i - n, n + 1)];
    }
  };
  for (const QString& t : texts)
    countPhrases(frenchtext::phrases(t));
  for (const QString& t : onlyNew) {
    const QList<QStringList> phrases = frenchtext::phrases(t);
    if (phrases.isEmpty())
      continue;
    const QByteArray key = lessonKey(phrases).toLatin1();
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(FDb, "INSERT OR IGNORE INTO taught (lesson) VALUES (?1)", -1, &st,
                                nullptr);
    if (rc == SQLITE_OK) {
      sqlite3_bind_text(st, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
      rc = sqlite3_step(st);
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
      r = fromSqlite(rc, FDb, FPath);
      break;
    }
    if (sqlite3_changes(FDb) > 0)
      countPhrases(phrases);
  }
  for (int n = 0; n < 3 && r.ok(); ++n)
    for (auto it = grams[n].cbegin(); it != grams[n].cend() && r.ok(); ++it)
      if (const int rc = bumpGram(FDb, kGrams[n], it->first, it->second); rc != SQLITE_OK)
        r = fromSqlite(rc, FDb, FPath);
  if (r.ok())
    r = run("COMMIT");
  if (!r.ok())
    sqlite3_exec(FDb, "ROLLBACK", nullptr, nullptr, nullptr);
  return r;
}

PredictionResult LearningFile::checkCounts(const QString& path) {
  if (foreignFile(path) || !QFileInfo::exists(path))
    return PredictionResult::damaged(
        QStringLiteral("%1 n'est pas un dictionnaire de prédiction").arg(quoted(path)));
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  PredictionResult r = rc == SQLITE_OK ? checkCountsOf(db, path) : fromSqlite(rc, db, path);
  sqlite3_close(db);
  return r;
}

PredictionResult LearningFile::setAside(const QString& path) {
  for (int n = 1; n < 10000; ++n) {
    const QString aside =
        path + QStringLiteral(".damaged") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
    if (QFileInfo::exists(aside) || QFileInfo(aside).isSymLink())
      continue;
    QFile f(path);
    if (!f.rename(aside))
      return PredictionResult::failed(
          QStringLiteral("impossible de renommer %1 (%2)").arg(quoted(path), f.errorString()));
    // A journal left beside a new file of the old name would be played back into it.
    const QString journal = path + QStringLiteral("-journal");
    if (QFileInfo::exists(journal))
      QFile::rename(journal, aside + QStringLiteral("-journal"));
    return PredictionResult::done();
  }
  return PredictionResult::failed(
      QStringLiteral("trop de copies de %1 mises de côté").arg(quoted(path)));
}

QString LearningFile::configPath(const QString& path) {
  const QFileInfo info(path);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral("-prediction.xml"));
}

QStringList LearningFile::filesKept(const QString& path) {
  const QFileInfo info(path);
  QStringList files;
  for (const QString& suffix :
       {QString(), QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")})
    files << path + suffix;
  const QStringList aside = info.dir().entryList(
      {info.fileName() + QStringLiteral(".damaged*")},
      QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& name : aside)
    files << info.dir().filePath(name);
  files << configPath(path);
  return files;
}

PredictionResult LearningFile::forget(const QString& path) {
  PredictionResult r = PredictionResult::done();
  for (const QString& file : filesKept(path)) {
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
      continue;
    QFile f(file);
    // Each file is tried: one that stays does not keep the others.
    if (!f.remove() && r.ok())
      r = PredictionResult::failed(QStringLiteral("impossible de supprimer %1 (%2)")
                                       .arg(quoted(file), info.isDir()
                                                              ? QStringLiteral("c'est un dossier")
                                                              : f.errorString()));
  }
  return r;
}
