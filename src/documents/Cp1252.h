// The Windows ANSI code page (cp1252) that board and configuration files are written in.
// Every one of the 256 byte values round-trips exactly: the five bytes cp1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
#pragma once

#include <QByteArray>
#include <QString>

namespace cp1252 {
QString toUnicode(const QByteArray& bytes);
// Characters outside the code page become '?'; use canEncode first where that matters.
QByteArray fromUnicode(const QString& text);
bool canEncode(const QString& text);
bool canEncode(QChar c);
// The text with each character the code page lacks replaced by its faithful equivalent there,
// where one exists: composed accents, typographic hyphens, minus, spaces and no-break spaces,
// primes, the Latin "fi"-style ligatures. Other characters stay as they are (canEncode tells).
QString withFaithfulEquivalents(const QString& text);
} // namespace cp1252
