// The string cipher: fixed vectors computed independently from its closed form, and the
// properties the configuration file relies on.
#include "documents/TEncryption.h"

#include "support/TestRegistry.h"

#include <QTest>

namespace {
QByteArray counting(int n) {
  QByteArray b;
  for (int i = 0; i < n; ++i)
    b.append(char(i % 256));
  return b;
}
} // namespace

class TEncryptionTest : public QObject {
  Q_OBJECT
private slots:
  void fixedVectors_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("initial password")
        << QByteArray("ZebPlanar") << QByteArray("wmo") << QByteArray("\x4B\x4C\x80");
    QTest::newRow("accents") << QByteArray("ZebPlanar") << QByteArray("Bonjour \xE9t\xE9")
                             << QByteArray("\x79\x55\xA1\xFE\x7F\xC1\xB9\x71\xA2\x81\x79");
    QTest::newRow("two-byte key") << QByteArray("ab") << QByteArray("xyz")
                                  << QByteArray("\x92\x44\xC1");
    QTest::newRow("one-byte key") << QByteArray("K") << QByteArray("hello")
                                  << QByteArray("\x69\xCB\xB6\xCA\x31");
    QTest::newRow("zero bytes in key and source")
        << QByteArray("\x00\xFF\x41", 3) << QByteArray("a\x00\n\x1A", 4)
        << QByteArray("\xBF\xF4\x43\x2D");
  }
  void fixedVectors() {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);
    QCOMPARE(TEncryption(key).Encrypt(source), expected);
    QCOMPARE(TEncryption(key).Decrypt(expected), source);
  }

  void longSourceAtTheWrapOfTheMaskSequence() {
    // Bytes 255..258 straddle mask entry 0 and its return to entry 1; n = 300 counts as 44.
    const QByteArray out = TEncryption("ZebPlanar").Encrypt(counting(300));
    QCOMPARE(out.size(), 300);
    const std::pair<int, unsigned char> expected[] = {
        {0, 0x13}, {1, 0x0F}, {254, 0xEA}, {255, 0xD0}, {256, 0x2E}, {257, 0x08}, {299, 0xD1}};
    for (const auto& [i, b] : expected)
      QCOMPARE(static_cast<unsigned char>(out[i]), b);
  }

  void maskTable() {
    const TEncryption c("ZebPlanar");
    const auto& m = c.maskTable();
    const std::uint8_t first[] = {0, 2, 47, 245, 163, 28, 135, 203};
    for (int i = 0; i < 8; ++i)
      QCOMPARE(m[std::size_t(i)], first[i]);
    QCOMPARE(TEncryption(QByteArray()).maskTable(), (std::array<std::uint8_t, 256>{}));
  }

  void emptyKeyCopies_data() {
    QTest::addColumn<QByteArray>("source");
    QTest::newRow("text") << QByteArray("wmo");
    QTest::newRow("zero bytes") << QByteArray("\x00\x01\x00", 3);
    QTest::newRow("long") << counting(700);
  }
  void emptyKeyCopies() {
    QFETCH(QByteArray, source);
    TEncryption c{QByteArray()};
    QCOMPARE(c.Encrypt(source), source);
    QCOMPARE(c.Decrypt(source), source);
  }

  void emptySource() {
    TEncryption c("ZebPlanar");
    QByteArray dest("left over");
    c.Encrypt(QByteArray(), dest);
    QVERIFY(dest.isEmpty());
    QCOMPARE(c.position(), 1);
    c.Decrypt(QByteArray(), dest);
    QVERIFY(dest.isEmpty());
    QCOMPARE(c.position(), 1);
  }

  void encryptIsDecryptAndAnInvolution_data() {
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("source");
    const QByteArray keys[] = {"ZebPlanar", "K", "abc", QByteArray("\x00\x00", 2)};
    const int lengths[] = {1, 2, 9, 18, 255, 256, 257, 513, 1000};
    for (const QByteArray& key : keys)
      for (int n : lengths)
        QTest::addRow("key %d bytes, %d bytes", int(key.size()), n) << key << counting(n);
  }
  void encryptIsDecryptAndAnInvolution() {
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, source);
    TEncryption c(key); // one object, several calls: every call restarts the mask sequence
    const QByteArray enciphered = c.Encrypt(source);
    QCOMPARE(enciphered.size(), source.size());
    QVERIFY(enciphered != source);
    QCOMPARE(c.Decrypt(source), enciphered);
    QCOMPARE(c.Decrypt(enciphered), source);
    QCOMPARE(c.Encrypt(enciphered), source);
  }

  void oneCharacterKeyActsThroughItsChecksumOnly() {
    // n a multiple of the key length: the two key passes cancel.
    const QByteArray source = counting(600);
    TEncryption c("K");
    const QByteArray out = c.Encrypt(source);
    const auto& m = c.maskTable();
    const std::uint8_t lengths = (600 & 0xFF) ^ 1;
    for (int i = 1; i <= 600; ++i)
      QCOMPARE(std::uint8_t(out[i - 1]),
               std::uint8_t(std::uint8_t(source[i - 1]) ^ lengths ^ m[std::size_t(i % 256)]));
    // Same checksum, same length: the same cipher.
    QCOMPARE(TEncryption("abc").Encrypt("123456"), TEncryption("cba").Encrypt("123456"));
    QVERIFY(TEncryption("abc").Encrypt("12345") != TEncryption("cba").Encrypt("12345"));
  }

  void maskSequenceHasPeriod256() {
    // A 256-byte source adds 0 for its length; the 256th byte takes mask 0.
    const QByteArray zeros(512, '\0');
    const QByteArray out = TEncryption("K").Encrypt(zeros.left(256));
    QCOMPARE(std::uint8_t(out[255]), std::uint8_t(1)); // only the key length remains
    const QByteArray longOut = TEncryption("K").Encrypt(zeros);
    QCOMPARE(longOut.left(256), longOut.mid(256));
    QCOMPARE(longOut.left(256), out);
  }

  void continuousPositionCarriesOver() {
    TEncryption c("ZebPlanar");
    c.Encrypt("abcd");
    QCOMPARE(c.position(), 5);
    c.Encrypt("ab");
    QCOMPARE(c.position(), 3);
    c.FContinuous = true;
    const QByteArray carried = c.Encrypt("xy"); // masks 3 and 4
    QCOMPARE(c.position(), 5);
    QVERIFY(carried != TEncryption("ZebPlanar").Encrypt("xy"));
    c.Encrypt(counting(252));
    QCOMPARE(c.position(), 1); // 257 wraps to 1
  }
};

ORIVOX_TEST(TEncryptionTest)
#include "TEncryptionTest.moc"
