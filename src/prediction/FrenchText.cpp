// The model's tokens follow the same rules as scripts/build-french-model.py, which wrote it: an
// elided word stands alone, other apostrophes and inner hyphens stay inside their word.
#include "prediction/FrenchText.h"

#include <algorithm>
#include <string_view>

namespace frenchtext {

namespace {

bool isApostrophe(char32_t u) {
  return u == U'\'' || u == U'\u2019' || u == U'\u2018' || u == kApostrophe || u == U'\u00b4' ||
         u == U'`' || u == U'\u2032';
}
bool isApostrophe(QChar c) {
  return isApostrophe(char32_t(c.unicode()));
}

bool isHyphen(char32_t u) {
  return u == U'-' || u == U'\u2010' || u == kHyphen;
}
bool isHyphen(QChar c) {
  return isHyphen(char32_t(c.unicode()));
}

// Letters and the accents that may follow them; digits are no part of a word.
bool isWordLetter(char32_t u) {
  return QChar::isLetter(u) || QChar::isMark(u);
}

// Where a sentence ends: the next word takes a capital.
bool endsPhrase(QChar c) {
  const char16_t u = c.unicode();
  return u == u'.' || u == u'!' || u == u'?' || u == u'\u2026' || u == u'\n' || u == u'\r';
}

// Where the model's context starts again: the sentence ends, and the signs after which the
// texts it was built from start a new phrase (quotations, asides, lists).
bool breaksContext(char32_t u) {
  static const std::u32string_view kBreaks = U".!?;:\u2026\"\u00ab\u00bb()[]\n\r";
  return kBreaks.find(u) != std::u32string_view::npos;
}

// The model's word for the sign that ends a phrase, or 0 for any other character.
char16_t endWord(char32_t sign) {
  switch (sign) {
  case U'.':
    return kEndFullStop;
  case U'?':
    return kEndQuestion;
  case U'!':
    return kEndExclamation;
  default:
    return 0;
  }
}

// The words that lose their vowel before another word: "j'ai", "qu'il", "jusqu'ici".
bool isElided(const QString& lowerLetters) {
  static const QStringList kElided{"c", "d",  "j",     "l",      "m",      "n",     "s",
                                   "t", "qu", "jusqu", "lorsqu", "puisqu", "quoiqu"};
  return kElided.contains(lowerLetters);
}

// NFC, lower case, one apostrophe and one hyphen.
std::u32string normalised(const QString& text) {
  std::u32string out;
  for (char32_t u : text.normalized(QString::NormalizationForm_C).toLower().toUcs4())
    out += isApostrophe(u) ? U'\'' : isHyphen(u) ? U'-' : u;
  return out;
}

QString fromUcs4(const std::u32string& s) {
  return QString::fromUcs4(s.data(), qsizetype(s.size()));
}

// A word found by words() as the model's words: elided words apart, signs in the model's form.
void appendModelWords(std::u32string word, QStringList& out) {
  for (auto k = word.find(U'\''); k != 0 && k != std::u32string::npos; k = word.find(U'\'')) {
    const QString head = fromUcs4(word.substr(0, k));
    if (!isElided(head))
      break;
    out << head + QChar(kApostrophe);
    word.erase(0, k + 1);
  }
  while (!word.empty() && word.back() == U'\'')
    word.pop_back();
  if (word.empty())
    return;
  QString w = fromUcs4(word);
  w.replace(QLatin1Char('\''), QChar(kApostrophe));
  w.replace(QLatin1Char('-'), QChar(kHyphen));
  out << w;
}

// The model's words of one normalised phrase: letters joined by an apostrophe or a hyphen
// between two letters, an apostrophe after a letter kept for the elision.
QStringList words(const std::u32string& phrase) {
  QStringList out;
  std::u32string word;
  const auto flush = [&] {
    if (!word.empty())
      appendModelWords(word, out);
    word.clear();
  };
  for (size_t i = 0; i < phrase.size(); ++i) {
    const char32_t u = phrase[i];
    const bool afterLetter = !word.empty() && isWordLetter(word.back());
    const bool beforeLetter = i + 1 < phrase.size() && isWordLetter(phrase[i + 1]);
    if (isWordLetter(u))
      word += u;
    else if (afterLetter && (u == U'\'' || (u == U'-' && beforeLetter)))
      word += u;
    else
      flush();
  }
  flush();
  return out;
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

qsizetype contextStart(const QString& text) {
  for (qsizetype i = text.size(); i > 0; --i)
    if (breaksContext(text.at(i - 1).unicode()))
      return i;
  return 0;
}

} // namespace

QList<QStringList> phrases(const QString& text) {
  QList<QStringList> out;
  const std::u32string all = normalised(text);
  size_t begin = 0;
  for (size_t i = 0; i <= all.size(); ++i) {
    if (i < all.size() && !breaksContext(all[i]))
      continue;
    QStringList w = words(all.substr(begin, i - begin));
    if (!w.isEmpty()) {
      if (i < all.size()) {
        if (const char16_t end = endWord(all[i]))
          w << QString(QChar(end));
      }
      out << w;
    }
    begin = i + 1;
  }
  return out;
}

QString endSign(const QString& modelWord) {
  if (modelWord.size() != 1)
    return {};
  switch (modelWord.front().unicode()) {
  case kEndFullStop:
    return QStringLiteral(".");
  case kEndQuestion:
    return QStringLiteral("?");
  case kEndExclamation:
    return QStringLiteral("!");
  default:
    return {};
  }
}

bool isEndSign(const QString& suggestion) {
  return suggestion == QLatin1String(".") || suggestion == QLatin1String("?") ||
         suggestion == QLatin1String("!");
}

bool isMarker(const QString& modelWord) {
  return std::any_of(modelWord.begin(), modelWord.end(), [](QChar c) {
    return c.unicode() >= kPhraseStart && c.unicode() <= kEndExclamation;
  });
}

QString toModel(const QString& text) {
  const qsizetype begin = contextStart(text);
  const qsizetype written = std::max(begin, wordStart(text));
  QString out = QChar(kPhraseStart) + QLatin1Char(' ');
  for (const QString& w : words(normalised(text.mid(begin, written - begin))))
    out += w + QLatin1Char(' ');
  QString partial = fromUcs4(normalised(text.mid(written)));
  partial.replace(QLatin1Char('\''), QChar(kApostrophe));
  partial.replace(QLatin1Char('-'), QChar(kHyphen));
  return out + partial;
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
  return capitalHere(text.left(wordStart(text)));
}

bool capitalHere(const QString& textBefore) {
  qsizetype i = textBefore.size();
  while (i > 0 && textBefore.at(i - 1).isSpace())
    --i;
  if (i == 0)
    return true;
  const QChar last = textBefore.at(i - 1);
  // "3.5" or "www.site.fr" go on in lower case: a sentence ends with a space after its sign.
  if (endsPhrase(last))
    return i < textBefore.size() || last == u'\n' || last == u'\r';
  // A quotation opening the phrase: « Bonjour ».
  if (last != QChar(0x00ab))
    return false;
  --i;
  while (i > 0 && textBefore.at(i - 1).isSpace())
    --i;
  return i == 0 || endsPhrase(textBefore.at(i - 1));
}

QString foldChar(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80) {
    if (u == u'\'' || u == u'`' || u == u'-')
      return {};
    return QString(QChar(u >= u'A' && u <= u'Z' ? u + 32 : u));
  }
  if (isApostrophe(c) || isHyphen(c))
    return {};
  switch (u) {
  case u'\u0153':
  case u'\u0152':
    return QStringLiteral("oe");
  case u'\u00e6':
  case u'\u00c6':
    return QStringLiteral("ae");
  case u'\u00df':
    return QStringLiteral("ss");
  default:
    break;
  }
  QString out;
  for (QChar d : QString(c).normalized(QString::NormalizationForm_D))
    if (!d.isMark())
      out += d.toLower();
  return out;
}

QString fold(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text)
    out += foldChar(c);
  return out;
}

const QStringList& elidedWords() {
  static const QStringList kWords = [] {
    QStringList w;
    for (const char* e :
         {"c", "d", "j", "l", "m", "n", "s", "t", "qu", "jusqu", "lorsqu", "puisqu", "quoiqu"})
      w << QString::fromLatin1(e) + QChar(kApostrophe);
    return w;
  }();
  return kWords;
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
