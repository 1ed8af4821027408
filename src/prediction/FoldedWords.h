// The model's words found by their folded form, so that a word spelled without its accents,
// apostrophes or hyphens ("fenetr", "aujourdh") still finds the words it stands for.
#pragma once

#include "prediction/PredictionResult.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class FoldedWords {
public:
  // The words of the model at `path` (table _1_gram) and how those that take a capital wherever
  // they stand are written (table capitals; a model without it has none). Replaces what was
  // there.
  PredictionResult load(const QString& path);
  // The words of a learning file too, if it can be read; nothing is lost when it cannot.
  void addFrom(const QString& learningPath);
  // More words in the model's form, such as the person's own; those already there are skipped.
  void add(const QStringList& modelWords);
  // The words of phrases the person taught, in the model's form, with the elisions they make.
  void addPhrases(const QList<QStringList>& phrases);
  bool isEmpty() const { return FEntries.empty(); }

  // The beginnings of the words whose folded form starts with `folded`, each as long as it
  // needs to be to cover `folded` ("fenêtr" for "fenetr"), at most `most` of them: what to ask
  // the library for. Empty when no word matches.
  QStringList beginningsFor(const QString& folded, int most) const;
  // Whether the model has seen `word` right after the elided `elided` ("jʼ" then "ai"): only
  // those pairs are offered as one word, never "c'a" for "ca".
  bool follows(const QString& elided, const QString& word) const {
    return FElidedPairs.contains(elided + QLatin1Char(' ') + word);
  }
  // How a model word is written: capitals of proper nouns, apostrophes and hyphens back.
  QString written(const QString& modelWord) const;

private:
  void sortEntries();
  void readElidedPairs(struct sqlite3* db);
  // (folded form, model word), sorted by folded form.
  std::vector<std::pair<QString, QString>> FEntries;
  QHash<QString, QString> FCapitals;
  QSet<QString> FElidedPairs; // "jʼ ai"
};
