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

// The text as the model reads it: from the start of the current phrase (after the last . ! ?
// or line end), NFC, lower case, apostrophes and inner hyphens in the model's form, an elided
// "j'", "l'", "qu'"... as a word of its own, non-breaking spaces as spaces, the phrase-start
// word first.
QString toModel(const QString& text);
// A word of the model as it is written: apostrophes and hyphens back.
QString fromModel(const QString& word);

// The word being written at the end of `text`: its letters since the last space or punctuation,
// an apostrophe or hyphen inside the word included, but not an elided "j'" before it.
QString wordPrefix(const QString& text);
// Whether the word being written is the first of its phrase.
bool startsPhrase(const QString& text);

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
