// The keyed string cipher that protects the application password in the configuration file.
// Byte strings in and out, same length, embedded zero bytes allowed.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

class TEncryption {
public:
  explicit TEncryption(const QByteArray& key);
  void Encrypt(const QByteArray& source, QByteArray& dest);
  void Decrypt(const QByteArray& source, QByteArray& dest);
  QByteArray Encrypt(const QByteArray& source);
  QByteArray Decrypt(const QByteArray& source);
  static std::uint8_t KeyChecksum(const QByteArray& s);

  bool FContinuous = false;
  const std::array<std::uint8_t, 256>& maskTable() const { return FMaskTable; }
  int position() const { return FPosition; }

private:
  std::array<std::uint8_t, 256> FMaskTable{};
  std::uint16_t FPosition = 1;
  QByteArray FKey;
};
