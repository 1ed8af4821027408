// French words as the picture search compares them: folded so that case, accents, ligatures,
// apostrophes and hyphens never stand between what the carer types and a picture's name.
#pragma once

#include <QString>
#include <QStringList>

namespace wordfolding {

// Lower case, accents dropped (compatibility decomposition, combining marks removed), "œ" as
// "oe" and "æ" as "ae". Everything else is kept as it is.
QString fold(const QString& text);

// The folded words of a text: runs of letters and digits. Apostrophes, hyphens, spaces and
// punctuation only separate words, so "J'ai" gives "j" and "ai", "porte-monnaie" gives "porte"
// and "monnaie".
QStringList words(const QString& text);

// Words that say nothing of what a picture shows ("je", "ai", "le", "de", "à" ...), folded.
bool isStopWord(const QString& foldedWord);

// The words worth searching for: the folded words without the stop words, or all of them when
// the text holds nothing but stop words (a name may be made of them: "ça va").
QStringList contentWords(const QString& text);

} // namespace wordfolding
