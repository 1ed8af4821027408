// Bytes of the configuration file: the enciphered password line and the last board path.
#include "shell/ConfigFile.h"

#include "documents/BoardFile.h"
#include "documents/Cp1252.h"
#include "documents/TEncryption.h"

namespace configfile {

namespace {

// Marks the hexadecimal form of the password line. Plain ASCII, so the line survives any
// editor, and long enough that a raw encipherment is practically never taken for it.
constexpr char kHexMarker[] = "#ORIVOX-HEX#";
// Marks the hexadecimal form of the path line: UTF-8 bytes, not the code page's.
constexpr char kPathMarker[] = "#ORIVOX-UTF8-HEX#";

const QByteArray& hexMarker() {
  static const QByteArray m(kHexMarker);
  return m;
}

const QByteArray& pathMarker() {
  static const QByteArray m(kPathMarker);
  return m;
}

bool breaksLine(const QByteArray& bytes) {
  return bytes.contains('\n') || bytes.contains('\r') || bytes.contains(char(26));
}

bool isUpperHex(const QByteArray& s) {
  if (s.size() % 2 != 0)
    return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
      return false;
  return true;
}

// The hexadecimal payload of a line in the marked form, or nothing when it is a raw line.
std::optional<QByteArray> hexPayload(const QByteArray& line,
                                     const QByteArray& marker = hexMarker()) {
  if (!line.startsWith(marker))
    return std::nullopt;
  const QByteArray rest = line.mid(marker.size());
  if (!isUpperHex(rest))
    return std::nullopt;
  return QByteArray::fromHex(rest);
}

const QByteArray kLineEnd("\r\n");

} // namespace

QByteArray passwordLine(const QString& password) {
  const QByteArray enciphered = TEncryption(kKey).Encrypt(cp1252::fromUnicode(password));
  if (!breaksLine(enciphered) && !hexPayload(enciphered))
    return enciphered;
  return hexMarker() + enciphered.toHex().toUpper();
}

QString passwordFromLine(const QByteArray& line) {
  const auto hex = hexPayload(line);
  return cp1252::toUnicode(TEncryption(kKey).Decrypt(hex ? *hex : line));
}

QByteArray boardPathLine(const QString& path) {
  const QByteArray raw = cp1252::fromUnicode(path);
  if (cp1252::canEncode(path) && !breaksLine(raw) && !hexPayload(raw, pathMarker()))
    return raw;
  return pathMarker() + path.toUtf8().toHex().toUpper();
}

QString boardPathFromLine(const QByteArray& line) {
  if (const auto hex = hexPayload(line, pathMarker()))
    return QString::fromUtf8(*hex);
  return cp1252::toUnicode(line);
}

QByteArray encode(const QString& password) {
  return passwordLine(password) + kLineEnd;
}

QByteArray encode(const QString& password, const QString& lastBoard) {
  return passwordLine(password) + kLineEnd + boardPathLine(lastBoard) + kLineEnd;
}

ConfigValues decode(const QByteArray& bytes) {
  // Same line rules as every text file the program reads.
  const QList<QByteArray> lines = boardfile::splitLines(bytes);
  ConfigValues v;
  if (!lines.isEmpty())
    v.password = passwordFromLine(lines[0]);
  if (lines.size() > 1)
    v.lastBoard = boardPathFromLine(lines[1]);
  return v;
}

QString boardToRemember(const QString& current, const QByteArray& previousConfig) {
  return current.isEmpty() ? decode(previousConfig).lastBoard : current;
}

} // namespace configfile
