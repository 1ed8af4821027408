// The model's tokens follow the same rules as scripts/build-french-model.py, which wrote it: an
// elided word stands alone, other apostrophes and inner hyphens stay inside their word.
#include "prediction/FrenchText.h"

namespace frenchtext {

namespace {

bool isApostrophe(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\'' || u == u'\u2019' || u == u'\u2018' || u == kApostrophe || u == u'\u00b4' ||
         u == u'`';
}

bool isHyphen(QChar c) {
  const char16_t u = c.unicode();
  return u == u'-' || u == u'\u2010' || u == kHyphen;
}

bool endsPhrase(QChar c) {
  const char16_t u = c.unicode();
  return u == u'.' || u == u'!' || u == u'?' || u == u'\u2026' || u == u'\n' || u == u'\r';
}

// The words that lose their vowel before another word: "j'ai", "qu'il", "jusqu'ici".
bool isElided(const QString& lowerLetters) {
  static const QStringList kElided{"c", "d",  "j",     "l",      "m",      "n",     "s",
                                   "t", "qu", "jusqu", "lorsqu", "puisqu", "quoiqu"};
  return kElided.contains(lowerLetters);
}

// The start of the word at the end of `text`, and after any elided words it begins with.
qsizetype wordStart(const QString& text) {
  qsizetype i = text.size();
  while (i > 0) {
    const QChar c = text.at(i - 1);
    if (c.isLetter() || c.isMark())
      --i;
    else if ((isApostrophe(c) || isHyphen(c)) && i >= 2 && text.at(i - 2).isLetter())
      --i;
    else
      break;
  }
  // "j'a": the word being written is "a"; "aujourd'h" stays whole.
  for (qsizetype k = i; k < text.size(); ++k) {
    const QChar c = text.at(k);
    if (isApostrophe(c) && isElided(text.mid(i, k - i).toLower()))
      i = k + 1;
    else if (!c.isLetter())
      break;
  }
  return i;
}

qsizetype phraseStart(const QString& text) {
  for (qsizetype i = text.size(); i > 0; --i)
    if (endsPhrase(text.at(i - 1)))
      return i;
  return 0;
}

} // namespace

QString toModel(const QString& text) {
  const QString phrase =
      text.mid(phraseStart(text)).normalized(QString::NormalizationForm_C).toLower();
  QString out;
  out.reserve(phrase.size() + 2);
  out += QChar(kPhraseStart);
  out += QLatin1Char(' ');
  qsizetype wordBegin = out.size();
  for (const QChar c : phrase) {
    const bool afterLetter = !out.isEmpty() && out.back().isLetter();
    if (c.isLetterOrNumber() || c.isMark()) {
      out += c;
      continue;
    }
    if (isApostrophe(c) && afterLetter) {
      if (isElided(out.mid(wordBegin))) {
        out += QChar(kApostrophe);
        out += QLatin1Char(' ');
        wordBegin = out.size();
      } else {
        out += QChar(kApostrophe);
      }
      continue;
    }
    if (isHyphen(c) && afterLetter) {
      out += QChar(kHyphen);
      continue;
    }
    // Everything else separates words, the non-breaking spaces and the punctuation the library
    // does not know (« », — ...) included.
    out += QLatin1Char(' ');
    wordBegin = out.size();
  }
  return out;
}

QString fromModel(const QString& word) {
  QString w = word;
  w.replace(QChar(kApostrophe), QLatin1Char('\''));
  w.replace(QChar(kHyphen), QLatin1Char('-'));
  return w;
}

QString wordPrefix(const QString& text) {
  return text.mid(wordStart(text));
}

bool startsPhrase(const QString& text) {
  // After "J'" the word being written is the second of the phrase: the capital went on "J'".
  qsizetype i = wordStart(text);
  while (i > 0 && text.at(i - 1).isSpace())
    --i;
  return i == 0 || endsPhrase(text.at(i - 1));
}

QString restoreCase(const QString& word, const QString& typedPrefix, bool phraseStart) {
  if (word.isEmpty())
    return word;
  const bool allCapitals = typedPrefix.size() >= 2 && typedPrefix == typedPrefix.toUpper() &&
                           typedPrefix != typedPrefix.toLower();
  if (allCapitals)
    return word.toUpper();
  if (phraseStart || (!typedPrefix.isEmpty() && typedPrefix.front().isUpper()))
    return word.front().toUpper() + word.mid(1);
  return word;
}

Completion complete(const QString& text, const QString& word) {
  Completion c;
  c.remove = int(wordPrefix(text).size());
  c.insert = word;
  if (word.isEmpty() || !isApostrophe(word.back()))
    c.insert += QLatin1Char(' ');
  return c;
}

} // namespace frenchtext
