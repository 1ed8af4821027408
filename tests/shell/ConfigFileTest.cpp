// The configuration file bytes: the form existing files use, the reading rules, and passwords
// whose encipherment holds a byte that would end the line or the file.
#include "shell/ConfigFile.h"

#include "documents/Cp1252.h"
#include "documents/TEncryption.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <cmath>

namespace {

QByteArray encipher(const QString& password) {
  return TEncryption(configfile::kKey).Encrypt(cp1252::fromUnicode(password));
}

// The first short password (letters and digits) whose encipherment holds the byte.
QString passwordEncipheringTo(char byte) {
  const QByteArray alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int len = 1; len <= 3; ++len) {
    const int combos = int(std::pow(alphabet.size(), len));
    for (int k = 0; k < combos; ++k) {
      QString p;
      for (int j = 0, v = k; j < len; ++j, v /= int(alphabet.size()))
        p += QChar(alphabet[v % alphabet.size()]);
      if (encipher(p).contains(byte))
        return p;
    }
  }
  return {};
}

} // namespace

class ConfigFileTest : public QObject {
  Q_OBJECT
private slots:
  void firstStartFileHoldsOnlyTheInitialPassword() {
    const QByteArray bytes = configfile::encode(configfile::kInitialPassword);
    QCOMPARE(bytes, QByteArray("\x4B\x4C\x80\r\n"));
    const auto v = configfile::decode(bytes);
    QCOMPARE(v.password, QStringLiteral("wmo"));
    QCOMPARE(v.lastBoard, QString());
  }

  void roundTrip_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("lastBoard");
    // The path line as written: the path's own cp1252 bytes, or empty for the marked form.
    QTest::addColumn<QByteArray>("pathLine");
    QTest::newRow("initial") << QStringLiteral("wmo") << QStringLiteral("/home/anne/plan.ord")
                             << QByteArray("/home/anne/plan.ord");
    QTest::newRow("empty password, no board") << QString() << QString() << QByteArray();
    QTest::newRow("accents") << QStringLiteral("éèçàù€") << QStringLiteral("/tmp/à moi.ord")
                             << QByteArray("/tmp/\xE0 moi.ord");
    QTest::newRow("long") << QString(300, QChar('x')) << QStringLiteral("C:\\b.ord")
                          << QByteArray("C:\\b.ord");
    for (char b : {'\n', '\r', char(26)}) {
      const QString p = passwordEncipheringTo(b);
      QVERIFY2(!p.isEmpty(), "no short password found");
      QTest::addRow("encipherment holds byte %d", int(b))
          << p << QStringLiteral("/x.ord") << QByteArray("/x.ord");
    }
    // Paths the code page cannot hold, or that would cut the file, are marked.
    QTest::newRow("path outside cp1252")
        << QStringLiteral("wmo") << QStringLiteral("/home/Łukasz/plan ć.ord") << QByteArray();
    QTest::newRow("path holding a line feed")
        << QStringLiteral("wmo") << QStringLiteral("/tmp/a\nb.ord") << QByteArray();
    QTest::newRow("path that looks marked")
        << QStringLiteral("wmo") << QStringLiteral("#ORIVOX-UTF8-HEX#41") << QByteArray();
  }
  void roundTrip() {
    QFETCH(QString, password);
    QFETCH(QString, lastBoard);
    QFETCH(QByteArray, pathLine);
    const QByteArray bytes = configfile::encode(password, lastBoard);
    QVERIFY(bytes.endsWith("\r\n"));
    const QByteArray written = configfile::boardPathLine(lastBoard);
    if (!pathLine.isEmpty() || lastBoard.isEmpty())
      QCOMPARE(written, pathLine);
    else
      for (char c : written) // one plain ASCII line that any editor keeps
        QVERIFY(c > 32 && c < 127);
    const auto v = configfile::decode(bytes);
    QCOMPARE(v.password, password);
    QCOMPARE(v.lastBoard, lastBoard);
    QCOMPARE(configfile::decode(configfile::encode(password)).password, password);
  }

  void passwordLineFormExistingFilesUse() {
    // Every password that can be stored raw is stored raw, exactly as before.
    for (const QString& p : {QStringLiteral("wmo"), QStringLiteral("secret"), QString()})
      QCOMPARE(configfile::passwordLine(p), encipher(p));
  }

  void breakingBytesGiveASingleLine_data() {
    QTest::addColumn<char>("byte");
    QTest::newRow("LF") << '\n';
    QTest::newRow("CR") << '\r';
    QTest::newRow("Ctrl+Z") << char(26);
  }
  void breakingBytesGiveASingleLine() {
    QFETCH(char, byte);
    const QString p = passwordEncipheringTo(byte);
    const QByteArray line = configfile::passwordLine(p);
    QVERIFY(line != encipher(p));
    for (char bad : {'\n', '\r', char(26)})
      QVERIFY(!line.contains(bad));
    QCOMPARE(configfile::passwordFromLine(line), p);
  }

  void rawEnciphermentThatLooksLikeTheMarkedForm() {
    // A password whose raw encipherment would be read as the marked form is marked itself.
    const QByteArray lookalike = configfile::passwordLine(passwordEncipheringTo('\n'));
    QVERIFY(!lookalike.isEmpty());
    const QString p = cp1252::toUnicode(TEncryption(configfile::kKey).Decrypt(lookalike));
    QCOMPARE(encipher(p), lookalike);
    QVERIFY(configfile::passwordLine(p) != lookalike);
    QCOMPARE(configfile::decode(configfile::encode(p, "/a.ord")).password, p);
  }

  void readingRules_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("lastBoard");
    QTest::newRow("empty file") << QByteArray() << QString() << QString();
    QTest::newRow("LF line ends") << QByteArray("\x4B\x4C\x80\n/p.ord\n") << "wmo"
                                  << "/p.ord";
    QTest::newRow("no final line end") << QByteArray("\x4B\x4C\x80\r\n/p.ord") << "wmo"
                                       << "/p.ord";
    QTest::newRow("Ctrl+Z ends the file") << QByteArray("\x4B\x4C\x80\r\n/p\x1A.ord\r\n") << "wmo"
                                          << "/p";
    QTest::newRow("lines after the second ignored")
        << QByteArray("\x4B\x4C\x80\r\n/p.ord\r\nmore\r\n") << "wmo"
        << "/p.ord";
    QTest::newRow("accented path")
        << QByteArray("\x4B\x4C\x80\r\n/\xE9t\xE9.ord\r\n") << "wmo" << QStringLiteral("/été.ord");
  }
  void readingRules() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, password);
    QFETCH(QString, lastBoard);
    const auto v = configfile::decode(bytes);
    QCOMPARE(v.password, password);
    QCOMPARE(v.lastBoard, lastBoard);
  }
};

ORIVOX_TEST(ConfigFileTest)
#include "ConfigFileTest.moc"
