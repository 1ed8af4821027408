// The code page conversion: every byte survives a round trip, and what cannot be stored is known.
#include "documents/Cp1252.h"

#include "support/TestRegistry.h"

#include <QTest>

class Cp1252Test : public QObject {
  Q_OBJECT
private slots:
  void everyByteRoundTrips() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
      all.append(char(b));
    const QString text = cp1252::toUnicode(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(cp1252::canEncode(text));
    QCOMPARE(cp1252::fromUnicode(text), all);
  }

  void knownCharacters_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("e grave") << 0xE8 << 0xE8;
    QTest::newRow("c cedilla") << 0xE7 << 0xE7;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("oe ligature") << 0x9C << 0x0153;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("right quote") << 0x92 << 0x2019;
    QTest::newRow("undefined 81") << 0x81 << 0x81;
    QTest::newRow("undefined 8D") << 0x8D << 0x8D;
    QTest::newRow("undefined 8F") << 0x8F << 0x8F;
    QTest::newRow("undefined 90") << 0x90 << 0x90;
    QTest::newRow("undefined 9D") << 0x9D << 0x9D;
    QTest::newRow("nul") << 0x00 << 0x00;
  }
  void knownCharacters() {
    QFETCH(int, byte);
    QFETCH(int, unicode);
    const QByteArray b(1, char(byte));
    QCOMPARE(cp1252::toUnicode(b), QString(QChar(unicode)));
    QCOMPARE(cp1252::fromUnicode(QString(QChar(unicode))), b);
  }

  void unstorableCharacters_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("C1 control with a cp1252 glyph") << QString(QChar(0x80));
    QTest::newRow("C1 control 0x9F") << QString(QChar(0x9F));
    QTest::newRow("greek") << QStringLiteral("abc\u03B1");
    QTest::newRow("emoji") << QStringLiteral("\U0001F600");
  }
  void unstorableCharacters() {
    QFETCH(QString, text);
    QVERIFY(!cp1252::canEncode(text));
    const QByteArray b = cp1252::fromUnicode(text);
    QCOMPARE(b.size(), text.size());
    QVERIFY(b.endsWith('?'));
  }

  void frenchTextIsStorable() {
    const QString s = QStringLiteral("Autres caractères à l'école, œuf… 5 €");
    QVERIFY(cp1252::canEncode(s));
    QCOMPARE(cp1252::toUnicode(cp1252::fromUnicode(s)), s);
    QCOMPARE(cp1252::fromUnicode(QStringLiteral("è")), QByteArray("\xE8"));
  }
};

ORIVOX_TEST(Cp1252Test)
#include "Cp1252Test.moc"
