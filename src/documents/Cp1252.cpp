// Conversion between QString and the single-byte Windows ANSI code page of the stored files.
// The table is written out so that the result never depends on the codecs Qt was built with.
#include "documents/Cp1252.h"

#include <array>

namespace {

// Bytes 0x80..0x9F; everything else maps to the code point of the same value. The five bytes
// the code page leaves undefined keep their C1 control so that every byte round-trips.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
    return u;
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == u)
      return int(0x80 + i);
  return -1;
}

// A character the code page lacks and what stands for it faithfully there. Only equivalents a
// reader would not tell apart on a board: no transliteration, no guess.
struct Equivalent {
  char16_t from;
  const char* to; // Latin-1 bytes
};
constexpr Equivalent kEquivalents[] = {
    {0x2000, " "},  {0x2001, " "},    {0x2002, " "},    {0x2003, " "},  {0x2004, " "},
    {0x2005, " "},  {0x2006, " "},    {0x2007, "\xA0"}, {0x2008, " "},  {0x2009, " "},
    {0x200A, " "},  {0x202F, "\xA0"}, {0x205F, " "},    {0x2010, "-"},  {0x2011, "-"},
    {0x2212, "-"},  {0x2032, "'"},    {0x2033, "\""},   {0x02BC, "'"},  {0xFB00, "ff"},
    {0xFB01, "fi"}, {0xFB02, "fl"},   {0xFB03, "ffi"},  {0xFB04, "ffl"}};

const char* equivalentOf(char16_t u) {
  for (const Equivalent& e : kEquivalents)
    if (e.from == u)
      return e.to;
  return nullptr;
}

} // namespace

namespace cp1252 {

QString toUnicode(const QByteArray& bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* d = out.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    d[i] = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
  }
  return out;
}

QByteArray fromUnicode(const QString& text) {
  QByteArray out(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int b = byteOf(text[i].unicode());
    out[i] = static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

bool canEncode(QChar c) {
  return byteOf(c.unicode()) >= 0;
}

bool canEncode(const QString& text) {
  for (QChar c : text)
    if (!canEncode(c))
      return false;
  return true;
}

QString withFaithfulEquivalents(const QString& text) {
  if (canEncode(text))
    return text;
  // Composed first: an "e" followed by a combining acute is the code page's "é".
  const QString composed = text.normalized(QString::NormalizationForm_C);
  QString out;
  out.reserve(composed.size());
  for (QChar c : composed) {
    const char* to = canEncode(c) ? nullptr : equivalentOf(c.unicode());
    if (to)
      out += QString::fromLatin1(to);
    else
      out += c;
  }
  return out;
}

} // namespace cp1252
