// The names a board keeps for itself: the seven command texts every page shows and the three
// tabs the program relies on. One rule of letter case for all of them, wherever a name comes
// from (typed in the panel, read from a file, imported).
#pragma once

#include <QString>
#include <QStringList>

namespace reservednames {

// The seven command texts, as the pages show them.
const QStringList& commandTexts();
// The three reserved tabs: "Divers", "Alphabet", "Autres caractères".
const QStringList& tabCaptions();

// Equal to one of them whatever the letter case (accented capitals too); accents still count,
// so "Divérs" is a name of its own.
bool isCommandText(const QString& text);
bool isReservedTab(const QString& caption);
// Which of tabCaptions() `caption` names, by the same rule (its index), or -1 for none.
int reservedTabIndex(const QString& caption);

} // namespace reservednames
