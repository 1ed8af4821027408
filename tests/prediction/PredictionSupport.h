// What the prediction tests share: a model built by the real builder from a small text, the
// learning file read with SQL, and a predictor asked and answered.
#pragma once

#include "prediction/WordPredictor.h"

#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <sqlite3.h>

namespace predictiontest {

// The model of tests/data/prediction/phrases.txt, built at `path`; false if the builder failed.
inline bool buildModel(const QString& path) {
  QProcess builder;
  builder.start(QStringLiteral("python3"),
                {QStringLiteral(ORIVOX_SOURCE_DIR "/scripts/build-french-model.py"), path,
                 QStringLiteral("--from-text"),
                 QStringLiteral(ORIVOX_TEST_DATA "/prediction/phrases.txt")});
  return builder.waitForFinished(60000) && builder.exitCode() == 0;
}

// One number read from a database, or -1.
inline qint64 scalar(const QString& path, const QString& sql) {
  sqlite3* db = nullptr;
  qint64 v = -1;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
      v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return v;
}

// How often a word was counted on its own in a model or a learning file (0 when never).
inline qint64 wordCount(const QString& path, const QString& word) {
  return scalar(
      path,
      QStringLiteral("SELECT coalesce(sum(count), 0) FROM _1_gram WHERE word = '%1'").arg(word));
}

inline bool exec(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  const bool ok = sqlite3_open(path.toUtf8().constData(), &db) == SQLITE_OK &&
                  sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

// The words offered for `text`, or a marker when no answer came. An answer also tells that the
// worker has done everything asked before the request.
inline QStringList ask(WordPredictor& p, int id, const QString& text) {
  QSignalSpy spy(&p, &WordPredictor::suggestions);
  p.request(id, text);
  if (!spy.wait(10000))
    return {QStringLiteral("<no answer>")};
  return spy.last().at(1).toStringList();
}

} // namespace predictiontest
