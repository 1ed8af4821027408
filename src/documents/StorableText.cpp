// Storable texts and the name fields' validator.
#include "documents/StorableText.h"

#include "documents/Cp1252.h"

bool isStorableText(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || !cp1252::canEncode(c))
      return false;
  return true;
}

QValidator::State StorableTextValidator::validate(QString& input, int&) const {
  return isStorableText(input) ? Acceptable : Invalid;
}
