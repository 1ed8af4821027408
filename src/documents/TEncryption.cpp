// The keyed string cipher: a sine-derived mask sequence plus two passes of the key, one
// forward and one backward, all by exclusive or, so enciphering twice gives the source back.
#include "documents/TEncryption.h"

#include <cmath>

TEncryption::TEncryption(const QByteArray& key) : FKey(key) {
  const int c = key.isEmpty() ? 0 : KeyChecksum(key);
  for (int i = 0; i < 256; ++i) {
    // sin(c*i)*255 never lies near a half for c, i in 0..255, so rounding is unambiguous.
    const long v = std::lround(std::sin(double(c * i)) * 255.0);
    FMaskTable[std::size_t(i)] = static_cast<std::uint8_t>(v & 0xFF);
  }
}

std::uint8_t TEncryption::KeyChecksum(const QByteArray& s) {
  std::uint8_t c = 1;
  for (char b : s)
    c ^= static_cast<std::uint8_t>(b);
  return c;
}

namespace {

void keyBackwardPass(QByteArray& r, const QByteArray& key) {
  const qsizetype len = key.size();
  qsizetype k = len;
  for (qsizetype i = r.size(); i >= 1; --i) {
    r[i - 1] = static_cast<char>(r[i - 1] ^ key[k - 1]);
    if (--k == 0)
      k = len;
  }
}

// The forward pass over r in place: length bytes, the mask sequence, then the key.
void forwardPass(QByteArray& r, const QByteArray& key, const std::array<std::uint8_t, 256>& mask,
                 std::uint16_t& position) {
  const qsizetype n = r.size();
  const qsizetype len = key.size();
  const auto lengths = static_cast<std::uint8_t>((n & 0xFF) ^ (len & 0xFF));
  qsizetype k = 1;
  for (qsizetype i = 0; i < n; ++i) {
    auto b = static_cast<std::uint8_t>(static_cast<std::uint8_t>(r[i]) ^ lengths);
    b ^= mask[position % 256];
    if (++position > 256)
      position = 1;
    b ^= static_cast<std::uint8_t>(key[k - 1]);
    r[i] = static_cast<char>(b);
    if (++k > len)
      k = 1;
  }
}

} // namespace

void TEncryption::Encrypt(const QByteArray& source, QByteArray& dest) {
  dest = source;
  if (FKey.isEmpty())
    return;
  dest.detach();
  if (!FContinuous)
    FPosition = 1;
  forwardPass(dest, FKey, FMaskTable, FPosition);
  keyBackwardPass(dest, FKey);
}

void TEncryption::Decrypt(const QByteArray& source, QByteArray& dest) {
  dest = source;
  if (FKey.isEmpty())
    return;
  dest.detach();
  keyBackwardPass(dest, FKey);
  if (!FContinuous)
    FPosition = 1;
  forwardPass(dest, FKey, FMaskTable, FPosition);
}

QByteArray TEncryption::Encrypt(const QByteArray& source) {
  QByteArray dest;
  Encrypt(source, dest);
  return dest;
}

QByteArray TEncryption::Decrypt(const QByteArray& source) {
  QByteArray dest;
  Decrypt(source, dest);
  return dest;
}
