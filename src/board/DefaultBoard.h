// The texts of the default board's letter tabs, in board order.
#pragma once

#include <QStringList>

namespace defaultboard {
// "Alphabet": the letters a to z, then a space.
QStringList alphabetTexts();
// "Autres caractères": digits, signs, accented letters, "@" and a space.
QStringList otherCharacterTexts();
} // namespace defaultboard
