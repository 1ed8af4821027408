// Built from the model the first time the prediction opens, in its thread: the program starts
// without reading it.
#include "prediction/FoldedWords.h"

#include "prediction/FrenchText.h"

#include <QSet>
#include <algorithm>
#include <functional>
#include <sqlite3.h>

namespace {

// Every text of the first column of a query; false when the query could not run.
bool column(sqlite3* db, const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
    sqlite3_finalize(st);
    return false;
  }
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW)
    row(st);
  sqlite3_finalize(st);
  return rc == SQLITE_DONE;
}

QString text(sqlite3_stmt* st, int i) {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
  return p ? QString::fromUtf8(p, sqlite3_column_bytes(st, i)) : QString();
}

} // namespace

PredictionResult FoldedWords::load(const QString& path) {
  FEntries.clear();
  FCapitals.clear();
  FElidedPairs.clear();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return PredictionResult::damaged(QStringLiteral("dictionnaire illisible"));
  }
  QStringList words;
  const bool ok =
      column(db, "SELECT word FROM _1_gram", [&](sqlite3_stmt* st) { words << text(st, 0); });
  // Older models have no capitals: their words are written as typed.
  column(db, "SELECT word, written FROM capitals", [&](sqlite3_stmt* st) {
    const QString written = text(st, 1);
    // Only a capital may differ: anything else would write another word than the one offered.
    if (written.toLower() == text(st, 0))
      FCapitals.insert(text(st, 0), written);
  });
  readElidedPairs(db);
  sqlite3_close(db);
  if (!ok)
    return PredictionResult::damaged(QStringLiteral("dictionnaire endommagé"));
  add(words);
  return PredictionResult::done();
}

void FoldedWords::readElidedPairs(sqlite3* db) {
  const QStringList& elided = frenchtext::elidedWords();
  column(db, "SELECT word_1, word FROM _2_gram", [&](sqlite3_stmt* st) {
    const QString first = text(st, 0);
    if (elided.contains(first))
      FElidedPairs.insert(first + QLatin1Char(' ') + text(st, 1));
  });
}

void FoldedWords::addFrom(const QString& learningPath) {
  sqlite3* db = nullptr;
  QStringList words;
  if (sqlite3_open_v2(learningPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
      SQLITE_OK) {
    column(db, "SELECT word FROM _1_gram", [&](sqlite3_stmt* st) { words << text(st, 0); });
    readElidedPairs(db);
  }
  sqlite3_close(db);
  add(words);
}

void FoldedWords::add(const QStringList& modelWords) {
  QSet<QString> have;
  if (!FEntries.empty())
    for (const auto& e : FEntries)
      have.insert(e.second);
  for (const QString& w : modelWords) {
    if (w.isEmpty() || frenchtext::isMarker(w) || have.contains(w))
      continue;
    have.insert(w);
    const QString f = frenchtext::fold(w);
    if (!f.isEmpty())
      FEntries.emplace_back(f, w);
  }
  sortEntries();
}

void FoldedWords::addPhrases(const QList<QStringList>& phrases) {
  QStringList words;
  for (const QStringList& phrase : phrases) {
    words += phrase;
    for (qsizetype i = 0; i + 1 < phrase.size(); ++i)
      if (frenchtext::elidedWords().contains(phrase.at(i)))
        FElidedPairs.insert(phrase.at(i) + QLatin1Char(' ') + phrase.at(i + 1));
  }
  add(words);
}

void FoldedWords::sortEntries() {
  std::sort(FEntries.begin(), FEntries.end());
}

QStringList FoldedWords::beginningsFor(const QString& folded, int most) const {
  QStringList out;
  if (folded.isEmpty())
    return out;
  auto it = std::lower_bound(FEntries.begin(), FEntries.end(), std::make_pair(folded, QString()));
  QSet<QString> seen;
  for (; it != FEntries.end() && it->first.startsWith(folded) && out.size() < most; ++it) {
    // The shortest beginning of the word whose folded form is as long as what was typed.
    const QString& word = it->second;
    qsizetype length = 0;
    qsizetype end = 0;
    while (end < word.size() && length < folded.size())
      length += frenchtext::foldChar(word.at(end++)).size();
    const QString beginning = word.left(end);
    if (!seen.contains(beginning)) {
      seen.insert(beginning);
      out << beginning;
    }
  }
  return out;
}

QString FoldedWords::written(const QString& modelWord) const {
  return frenchtext::fromModel(FCapitals.value(modelWord, modelWord));
}
