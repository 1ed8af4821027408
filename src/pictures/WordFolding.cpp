// Folding and cutting of French words for the picture search.
#include "pictures/WordFolding.h"

#include <QSet>

namespace wordfolding {

QString fold(const QString& text) {
  const QString decomposed = text.normalized(QString::NormalizationForm_KD);
  QString out;
  out.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    switch (c.category()) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
      continue;
    default:
      break;
    }
    const QChar lower = c.toLower();
    if (lower == QChar(0x0153)) // œ: no decomposition joins it to "oe"
      out += QLatin1String("oe");
    else if (lower == QChar(0x00E6)) // æ
      out += QLatin1String("ae");
    else
      out += lower;
  }
  return out;
}

namespace {
// Letters that are apostrophes: they part words like the ASCII one ("aujourdʼhui").
bool isWordCharacter(QChar c) {
  return c.isLetterOrNumber() && c != QChar(0x02BC) && c != QChar(0x02BB) && c != QChar(0x02B9);
}
} // namespace

QStringList words(const QString& text) {
  const QString folded = fold(text);
  QStringList out;
  qsizetype start = -1;
  for (qsizetype i = 0; i <= folded.size(); ++i) {
    const bool inWord = i < folded.size() && isWordCharacter(folded.at(i));
    if (inWord && start < 0)
      start = i;
    else if (!inWord && start >= 0) {
      out << folded.mid(start, i - start);
      start = -1;
    }
  }
  return out;
}

bool isStopWord(const QString& foldedWord) {
  // Pronouns, articles, the auxiliaries and the small linking words of everyday phrases, folded
  // ("à" and "a" alike). "pas" is kept out: "pas content" is not "content".
  static const QSet<QString> stopWords = {
      "je",   "j",   "tu",   "il",   "elle",     "on",     "nous", "vous", "ils",  "elles", "me",
      "m",    "te",  "t",    "se",   "s",        "moi",    "toi",  "ai",   "as",   "a",     "avons",
      "avez", "ont", "suis", "es",   "est",      "sommes", "etes", "sont", "le",   "la",    "les",
      "l",    "un",  "une",  "de",   "d",        "du",     "des",  "au",   "aux",  "et",    "ou",
      "en",   "y",   "ne",   "n",    "que",      "qu",     "qui",  "ce",   "c",    "ca",    "mon",
      "ma",   "mes", "ton",  "ta",   "tes",      "son",    "sa",   "ses",  "pour", "par",   "avec",
      "dans", "sur", "veux", "veut", "voudrais", "vais",   "va",   "peux", "tres"};
  return stopWords.contains(foldedWord);
}

QStringList contentWords(const QString& text) {
  const QStringList all = words(text);
  QStringList content;
  for (const QString& w : all)
    if (!isStopWord(w))
      content << w;
  return content.isEmpty() ? all : content;
}

} // namespace wordfolding
