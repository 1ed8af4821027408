// The reserved names and their one case rule.
#include "documents/ReservedNames.h"

namespace reservednames {

namespace {
bool equalsIgnoringCase(const QString& a, const QString& b) {
  // Case folding, not a plain lower-casing: "É" and "é" are one letter, "ß" and "SS" too.
  return a.size() <= 2 * b.size() && a.toCaseFolded() == b.toCaseFolded();
}
bool anyEquals(const QStringList& names, const QString& s) {
  for (const QString& n : names)
    if (equalsIgnoringCase(s, n))
      return true;
  return false;
}
} // namespace

const QStringList& commandTexts() {
  static const QStringList names = {
      QStringLiteral("RETOUR"),     QStringLiteral("CLEAR"),       QStringLiteral("AJOUT"),
      QStringLiteral("VALIDATION"), QStringLiteral("SUPPRESSION"), QStringLiteral("SONNERIE"),
      QStringLiteral("ANNULATION")};
  return names;
}

const QStringList& tabCaptions() {
  static const QStringList names = {QStringLiteral("Divers"), QStringLiteral("Alphabet"),
                                    QStringLiteral("Autres caractères")};
  return names;
}

bool isCommandText(const QString& text) {
  return anyEquals(commandTexts(), text);
}

bool isReservedTab(const QString& caption) {
  return anyEquals(tabCaptions(), caption);
}

int reservedTabIndex(const QString& caption) {
  const QStringList& names = tabCaptions();
  for (int i = 0; i < names.size(); ++i)
    if (equalsIgnoringCase(caption, names[i]))
      return i;
  return -1;
}

} // namespace reservednames
