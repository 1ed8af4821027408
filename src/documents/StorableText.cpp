// Storable texts and the name fields' validator.
#include "documents/StorableText.h"

#include "documents/Cp1252.h"

bool isStorableText(const QString& text) {
  // Only the bytes that end a line or the file would cut it; other control characters that a
  // board made elsewhere may hold are written back as they were read.
  for (QChar c : text)
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0x1A ||
        !cp1252::canEncode(c))
      return false;
  return true;
}

QValidator::State StorableTextValidator::validate(QString& input, int&) const {
  // Typing adds no control character at all: nothing a carer means to show.
  for (QChar c : input)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      return Invalid;
  return isStorableText(input) ? Acceptable : Invalid;
}
