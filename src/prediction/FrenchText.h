// French text between the person's display and the prediction model: the form the model's words
// take (and the way back), the word being written, and what choosing a suggestion writes.
#pragma once

#include <QString>
#include <QStringList>

namespace frenchtext {

// What the model stores in place of an apostrophe and of a hyphen inside a word: the prediction
// library cuts words at ASCII punctuation and would break "aujourd'hui" and "peut-être" apart.
inline constexpr char16_t kApostrophe = u'\u02bc';
inline constexpr char16_t kHyphen = u'\u2011';
// The model's first word of every phrase; never offered.
inline constexpr char16_t kPhraseStart = u'\ue000';
// The model's last word of a phrase ended by a full stop, a question mark or an exclamation
// mark: offered as the sign where a phrase likely ends.
inline constexpr char16_t kEndFullStop = u'\ue001';
inline constexpr char16_t kEndQuestion = u'\ue002';
inline constexpr char16_t kEndExclamation = u'\ue003';

// The sign a phrase-end word of the model stands for; empty for any other word.
QString endSign(const QString& modelWord);
// Whether a suggestion is a sign that ends a phrase rather than a word.
bool isEndSign(const QString& suggestion);
// Whether a word of the model is one of its markers (phrase start, phrase ends): no word to fold.
bool isMarker(const QString& modelWord);

// The words of a finished text as the model counts them, phrase by phrase: NFC, lower case,
// cut at phrase ends (. ! ? ; : … quotes, brackets, line ends); a word is letters, joined by an
// apostrophe or a hyphen between two letters; digits and other signs separate words; an elided
// "j'", "l'", "qu'"... is a word of its own; apostrophes and hyphens in the model's form. A
// phrase ended by ".", "?" or "!" ends with the model's word for the sign.
// scripts/build-french-model.py cuts the same way: tests/data/prediction/tokens.tsv holds both.
QList<QStringList> phrases(const QString& text);

// The text being written as the model reads it: the phrase-start word, the words of the current
// phrase as phrases() cuts them, then the word being written (empty after a space).
QString toModel(const QString& text);
// A word of the model as it is written: apostrophes and hyphens back.
QString fromModel(const QString& word);

// The word being written at the end of `text`: its letters since the last space or punctuation,
// an apostrophe or hyphen inside the word included, but not an elided "j'" before it.
QString wordPrefix(const QString& text);
// Whether the word being written is the first of its phrase.
bool startsPhrase(const QString& text);
// Whether a word written right after `textBefore` takes a capital: at the start of a phrase,
// after a sentence's end and a space (". ", "! ", "? ", "… "), after an opening « that starts a
// phrase.
bool capitalHere(const QString& textBefore);

// A word as it is matched whatever the board can spell: no accents or cedillas, œ and æ as two
// letters, no apostrophes or hyphens, lower case. "Aujourd'hui" and "aujourdhui" fold alike.
QString fold(const QString& text);
// The folded form of one character: "" for an apostrophe or a hyphen, two letters for œ.
QString foldChar(QChar c);
// The elided words, as the model writes them ("jʼ", "quʼ"...).
const QStringList& elidedWords();

// A model's word as the person would write it here: a capital where the phrase starts or where
// the person typed one, all capitals when they typed only capitals (two or more).
QString restoreCase(const QString& word, const QString& typedPrefix, bool phraseStart);

// What choosing `word` does to the text: remove the word being written, write the word and a
// space (no space after an elided "j'", which leans on the next word).
struct Completion {
  int remove = 0;
  QString insert;
  bool operator==(const Completion& o) const { return remove == o.remove && insert == o.insert; }
};
Completion complete(const QString& text, const QString& word);

} // namespace frenchtext
