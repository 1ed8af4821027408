// What a board file cannot hold, said where it is met: the character a name field refuses, the
// text that stops a save, and the bounds of a board counted in the file's own bytes.
#include "documents/StorableText.h"
#include "documents/BoardFile.h"

#include "support/TestRegistry.h"

#include <QTest>

namespace {
const QString kTotalBound = QStringLiteral("Un tableau ne peut pas avoir plus de 16 Mo de texte");
}

class StorableTextTest : public QObject {
  Q_OBJECT
private slots:
  void typedOrPastedNames_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("refusal"); // empty: accepted
    const auto refused = [](const QString& c) {
      return QStringLiteral("Le caractère « %1 » ne peut pas être enregistré dans un tableau.")
          .arg(c);
    };
    QTest::newRow("French letters, euro, ligature")
        << QStringLiteral("Œuvre à 5 € — « là »") << QString();
    QTest::newRow("Greek capital omega") << QStringLiteral("aΩb") << refused("Ω");
    QTest::newRow("the first of two is named") << QStringLiteral("ΔΩ") << refused("Δ");
    QTest::newRow("emoji, a pair of UTF-16 units") << QStringLiteral("ok 😀") << refused("😀");
    QTest::newRow("non-breaking hyphen") << QStringLiteral("peut\u2011être") << refused("\u2011");
    QTest::newRow("tab pasted")
        << QStringLiteral("a\tb")
        << QStringLiteral("Le caractère de commande U+0009 ne peut pas être tapé dans un nom.");
    QTest::newRow("delete character")
        << QStringLiteral("a\x7F")
        << QStringLiteral("Le caractère de commande U+007F ne peut pas être tapé dans un nom.");
    QTest::newRow("empty") << QString() << QString();
  }
  void typedOrPastedNames() {
    QFETCH(QString, input);
    QFETCH(QString, refusal);
    QCOMPARE(StorableTextValidator::refusalOf(input).value_or(QString()), refusal);
    StorableTextValidator validator;
    int pos = 0;
    QCOMPARE(validator.validate(input, pos),
             refusal.isEmpty() ? QValidator::Acceptable : QValidator::Invalid);
    // Said once, for the refusal just made.
    QCOMPARE(validator.takeRefusal().value_or(QString()), refusal);
    QCOMPARE(validator.takeRefusal(), std::nullopt);
  }

  void whichTextStopsASave_data() {
    QTest::addColumn<QList<BoardTab>>("tabs");
    QTest::addColumn<QString>("why"); // empty: the board can be written
    const QString end = QStringLiteral(", que le fichier ne peut pas contenir");
    QTest::newRow("storable, a tab inside a text too")
        << QList<BoardTab>{{"Divers", {"a\tb", QStringLiteral("été")}}} << QString();
    QTest::newRow("third text of the second tab")
        << QList<BoardTab>{{"Divers", {"a"}}, {"Grec", {"alpha", "beta", QStringLiteral("γ")}}}
        << QStringLiteral("le texte 3 de l'onglet « Grec » contient « γ »") + end;
    QTest::newRow("a tab's name, before its texts")
        << QList<BoardTab>{{"A", {}}, {QStringLiteral("Ωmega"), {QStringLiteral("Δ")}}}
        << QStringLiteral("le nom de l'onglet 2 « Ωmega » contient « Ω »") + end;
    QTest::newRow("line feed named by its code")
        << QList<BoardTab>{{"A", {"a\nb"}}}
        << QStringLiteral("le texte 1 de l'onglet « A » contient « U+000A »") + end;
    QTest::newRow("end-of-file byte")
        << QList<BoardTab>{{"A", {"ok", "a\x1A"}}}
        << QStringLiteral("le texte 2 de l'onglet « A » contient « U+001A »") + end;
    QTest::newRow("a long tab name is cut")
        << QList<BoardTab>{{QString(50, QLatin1Char('x')), {QStringLiteral("😀")}}}
        << QStringLiteral("le texte 1 de l'onglet « %1… » contient « 😀 »")
                   .arg(QString(40, QLatin1Char('x'))) +
               end;
  }
  void whichTextStopsASave() {
    QFETCH(QList<BoardTab>, tabs);
    QFETCH(QString, why);
    BoardData board;
    board.tabs = tabs;
    QCOMPARE(unstorableTextIn(board).value_or(QString()), why);
  }

  // The bound on a board's text in all, counted in the file's bytes: at it the board is
  // within, one byte past it is not; the other bounds still come first.
  void boundsOfABoard_data() {
    QTest::addColumn<qint64>("tabs");
    QTest::addColumn<qint64>("texts");
    QTest::addColumn<qint64>("textBytes");
    QTest::addColumn<int>("newTextLength");
    QTest::addColumn<QString>("message");
    const qint64 max = boardfile::kMaxBoardTextBytes;
    QTest::newRow("at every bound") << qint64(500) << qint64(25000) << max << 32767 << QString();
    QTest::newRow("one byte of text past")
        << qint64(3) << qint64(10) << max + 1 << 5 << kTotalBound;
    QTest::newRow("one tab past") << qint64(501) << qint64(0) << max + 1 << 0
                                  << "Un tableau ne peut pas avoir plus de 500 onglets";
    QTest::newRow("one text past") << qint64(1) << qint64(25001) << qint64(0) << 0
                                   << "Un tableau ne peut pas avoir plus de 25000 textes";
    QTest::newRow("a line past") << qint64(1) << qint64(1) << qint64(40000) << 32768
                                 << "Un texte ne peut pas avoir plus de 32767 caractères";
  }
  void boundsOfABoard() {
    QFETCH(qint64, tabs);
    QFETCH(qint64, texts);
    QFETCH(qint64, textBytes);
    QFETCH(int, newTextLength);
    QFETCH(QString, message);
    const QStringList written{QString(newTextLength, QLatin1Char('m'))};
    QCOMPARE(boardfile::boundPassed({tabs, texts, textBytes}, written).value_or(QString()),
             message);
  }

  void extentCountsTextsAndCaptionsInBytes() {
    BoardData board;
    // One byte for each character the file holds: "é" and "€" included.
    board.tabs = {{QStringLiteral("Été"), {QStringLiteral("5 €"), "abc"}}, {"B", {}}};
    const boardfile::BoardExtent e = boardfile::extentOf(board);
    QCOMPARE(e.tabs, qint64(2));
    QCOMPARE(e.texts, qint64(2));
    QCOMPARE(e.textBytes, qint64(3 + 3 + 3 + 1));
  }
};

ORIVOX_TEST(StorableTextTest)
#include "StorableTextTest.moc"
