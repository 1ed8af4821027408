// Which suggestions the person let go by while spelling the word they write.
#include "prediction/PassedOver.h"

namespace {
// A character that continues the word being written rather than ending it.
bool continuesWord(QChar c) {
  return c.isLetterOrNumber() || c == QLatin1Char('\'') || c == QChar(0x2019) ||
         c == QLatin1Char('-');
}
} // namespace

void PassedOver::moveTo(const QString& text) {
  if (text == FText)
    return;
  bool sameWord = text.startsWith(FText);
  for (qsizetype i = FText.size(); sameWord && i < text.size(); ++i)
    sameWord = continuesWord(text.at(i));
  if (!sameWord)
    FPassed.clear();
  else
    for (const QString& w : std::as_const(FShown))
      FPassed.insert(w.toLower());
  FShown.clear();
  FText = text;
}

bool PassedOver::contains(const QString& word) const {
  return FPassed.contains(word.toLower());
}

void PassedOver::shown(const QStringList& words) {
  FShown = words;
}
