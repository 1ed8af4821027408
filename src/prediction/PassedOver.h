// The words already shown for the word being written. A person who saw a word in the row of
// suggestions and chose a letter instead did not want it: the slots go to other words first.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class PassedOver {
public:
  // The text about to be answered. Letters added to the word of the previous text keep what was
  // passed over; anything else (a space, a suggestion taken, a letter taken back) starts afresh,
  // so that undoing a letter chosen by mistake brings the words back.
  // The same text asked again is answered as before: what it showed is not passed over yet.
  void moveTo(const QString& text);
  // Whether `word` was shown for an earlier text of the word being written; letter case does
  // not count.
  bool contains(const QString& word) const;
  // The words shown for the text last moved to.
  void shown(const QStringList& words);

private:
  QString FText;
  QSet<QString> FPassed;
  QStringList FShown;
};
