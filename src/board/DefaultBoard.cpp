// The default board's texts: "Divers", "Alphabet" and "Autres caractères" with the
// letters, digits, signs and accented letters a user can spell with at once.
#include "board/DefaultBoard.h"

namespace defaultboard {
QStringList alphabetTexts() {
  QStringList texts;
  for (char c = 'a'; c <= 'z'; ++c)
    texts << QString(QLatin1Char(c));
  texts << QStringLiteral(" ");
  return texts;
}

QStringList otherCharacterTexts() {
  QStringList texts;
  for (char c = '0'; c <= '9'; ++c)
    texts << QString(QLatin1Char(c));
  texts << QStringLiteral("+") << QStringLiteral("-") << QStringLiteral("*") << QStringLiteral("/")
        << QStringLiteral(".") << QStringLiteral(",") << QStringLiteral(";") << QStringLiteral(":")
        << QStringLiteral("!") << QStringLiteral("?") << QStringLiteral("\"") << QStringLiteral("(")
        << QStringLiteral(")") << QStringLiteral("é") << QStringLiteral("è") << QStringLiteral("ç")
        << QStringLiteral("à") << QStringLiteral("ù") << QStringLiteral("@") << QStringLiteral(" ");
  return texts;
}
} // namespace defaultboard
