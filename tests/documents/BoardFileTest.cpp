// Board files: golden files written by hand from the layout, the reading rules for damaged or
// hand-edited files, and the writer and reader agreeing on every board.
#include "documents/BoardFile.h"

#include "support/Fixtures.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(BoardReadStatus)

namespace {

QByteArray fixture(const QString& name) {
  return boardFixture(name);
}

BoardFont font(const QString& name, int size, TColor colour, bool b = false, bool i = false,
               bool u = false) {
  BoardFont f;
  f.name = name;
  f.size = size;
  f.color = colour;
  f.bold = b;
  f.italic = i;
  f.underline = u;
  return f;
}

BoardData defaultBoard() {
  BoardData b;
  b.selectedFont = font("Arial", 8, clRed);
  b.unselectedFont = font("Arial", 8, clNavy);
  b.tabFont = font("Arial", 8, clWindowText);
  b.validatedFont = font("Arial", 8, clWindowText);
  b.currentPhraseFont = font("Arial", 8, clWindowText);
  QStringList alphabet;
  for (char c = 'a'; c <= 'z'; ++c)
    alphabet << QString(QChar(c));
  alphabet << " ";
  QStringList others;
  for (char c = '0'; c <= '9'; ++c)
    others << QString(QChar(c));
  others << "+"
         << "-"
         << "*"
         << "/"
         << "."
         << ","
         << ";"
         << ":"
         << "!"
         << "?"
         << "\""
         << "("
         << ")" << QStringLiteral("é") << QStringLiteral("è") << QStringLiteral("ç")
         << QStringLiteral("à") << QStringLiteral("ù") << "@"
         << " ";
  b.tabs = {{"Divers", {}}, {"Alphabet", alphabet}, {QStringLiteral("Autres caractères"), others}};
  return b;
}

// Edits of a file in the writer's form, line by line.
QByteArray withLine(const QByteArray& bytes, int number, const QByteArray& content) {
  QList<QByteArray> lines = boardfile::splitLines(bytes);
  lines[number - 1] = content;
  return lines.join("\r\n") + "\r\n";
}
QByteArray firstLines(const QByteArray& bytes, int count) {
  return boardfile::splitLines(bytes).mid(0, count).join("\r\n") + "\r\n";
}

// A board of equal tabs of equal texts, in the writer's form.
QByteArray uniformBoard(int tabs, int textsPerTab, int textBytes = 1) {
  BoardData d;
  for (int t = 0; t < tabs; ++t)
    d.tabs << BoardTab{QStringLiteral("T%1").arg(t),
                       QStringList(textsPerTab, QString(textBytes, QLatin1Char('a')))};
  return boardfile::write(d);
}

} // namespace

class BoardFileTest : public QObject {
  Q_OBJECT
private slots:
  void defaultBoardMatchesGoldenFile() {
    const QByteArray golden = fixture("default.ord");
    QCOMPARE(boardfile::write(defaultBoard()), golden);
    const BoardReadResult r = boardfile::read(golden);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data, defaultBoard());
  }

  void writerFormSurvivesReadAndWrite_data() {
    QTest::addColumn<QString>("file");
    QTest::newRow("default") << "default.ord";
    QTest::newRow("texts, fonts and colours") << "texts.ord";
    QTest::newRow("zero tabs") << "zero-tabs.ord";
  }
  void writerFormSurvivesReadAndWrite() {
    QFETCH(QString, file);
    const QByteArray bytes = fixture(file);
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.finalLinesRead, 7);
    QCOMPARE(boardfile::write(r.data), bytes);
  }

  void textsFontsAndColoursAsStored() {
    const BoardData d = boardfile::read(fixture("texts.ord")).data;
    QCOMPARE(d.t1Seconds, 12);
    QCOMPARE(d.t2Seconds, 100);
    QCOMPARE(d.tabs.size(), 2);
    QCOMPARE(d.tabs[0].caption, QStringLiteral("Phrases à dire"));
    QCOMPARE(d.tabs[0].texts, QStringList({QStringLiteral("Ça va très bien"), "RETOUR",
                                           QString("abcdefghij").repeated(30), QString(),
                                           QStringLiteral("œuvre 5 €")}));
    QCOMPARE(d.tabs[1], (BoardTab{"Vide", {}}));
    QCOMPARE(d.selectedFont, font("Comic Sans MS", 14, 0xFF0000, true, false, true));
    QCOMPARE(d.unselectedFont, font("Times New Roman", -3, 0xC08040, false, true, false));
    QCOMPARE(d.tabFont.name, QString()); // the loader keeps the name it had
    QCOMPARE(d.tabFont.size, 10);
    QCOMPARE(d.tabColor, static_cast<TColor>(0x80000018u));
    QCOMPARE(d.validatedFont, font("Courier New", 20, 0, false, false, true));
    QCOMPARE(d.memoColor, static_cast<TColor>(0x80000019u));
    QCOMPARE(d.currentPhraseFont, font("Verdana", 16, 0x00FF00, true));
    QCOMPARE(d.finalMemoColor, 0xF0FBFF);
  }

  void everyColourFormReadsTheSame() {
    const BoardReadResult r = boardfile::read(fixture("colour-forms.ord"));
    QCOMPARE(r.status, BoardReadStatus::Ok);
    const BoardData& d = r.data;
    QCOMPARE(d.selectedFont.size, 12);
    QCOMPARE(d.unselectedFont.size, 8);
    QCOMPARE(d.tabFont.size, 8);
    for (TColor c :
         {d.selectedFont.color, d.unselectedFont.color, d.tabColor, d.validatedFont.color})
      QCOMPARE(c, clRed);
    QCOMPARE(d.memoColor, clWindow);
    QCOMPARE(d.currentPhraseFont.color, clWindowText);
    QCOMPARE(d.finalMemoColor, clWindow);
    // Written back in the writer's own forms.
    const QList<QByteArray> out = boardfile::splitLines(boardfile::write(d));
    QCOMPARE(out[8 - 1], QByteArray("12"));
    QCOMPARE(out[9 - 1], QByteArray("255"));
    QCOMPARE(out[15 - 1], QByteArray("clRed"));
    QCOMPARE(out[21 - 1], QByteArray("clRed"));
    QCOMPARE(out[27 - 1], QByteArray("255"));
    QCOMPARE(out[28 - 1], QByteArray("clWindow"));
    QCOMPARE(out[out.size() - 4], QByteArray("clWindow"));
    QCOMPARE(out[out.size() - 5], QByteArray("-2147483640"));
  }

  void damagedAndHandEditedFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<BoardReadStatus>("status");
    QTest::addColumn<int>("failedLine");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("finalLinesRead");
    QTest::newRow("final block missing")
        << "no-final-block.ord" << BoardReadStatus::Ok << 0 << 3 << 0;
    QTest::newRow("final block and last empty line missing")
        << "no-final-block-nor-separator.ord" << BoardReadStatus::Ok << 0 << 3 << 0;
    QTest::newRow("final block cut short")
        << "short-final-block.ord" << BoardReadStatus::Ok << 0 << 3 << 2;
    QTest::newRow("unreadable colour in final block")
        << "bad-final-colour.ord" << BoardReadStatus::Ok << 0 << 3 << 2;
    QTest::newRow("extra lines after the final block")
        << "extra-lines.ord" << BoardReadStatus::Ok << 0 << 3 << 7;
    QTest::newRow("Ctrl+Z ends the file") << "ctrl-z.ord" << BoardReadStatus::Ok << 0 << 3 << 1;
    QTest::newRow("wrong first line")
        << "wrong-header.ord" << BoardReadStatus::WrongHeader << 1 << 0 << 0;
    // Cut before the text "é", line 91: the tabs read so far stay, the last one partly.
    QTest::newRow("truncated in a tab")
        << "truncated.ord" << BoardReadStatus::Error << 91 << 3 << 0;
  }
  void damagedAndHandEditedFiles() {
    QFETCH(QString, file);
    QFETCH(BoardReadStatus, status);
    QFETCH(int, failedLine);
    QFETCH(int, tabs);
    QFETCH(int, finalLinesRead);
    const BoardReadResult r = boardfile::read(fixture(file));
    QCOMPARE(r.status, status);
    if (status != BoardReadStatus::Ok)
      QCOMPARE(r.failedLine, failedLine);
    QCOMPARE(r.data.tabs.size(), tabs);
    QCOMPARE(r.data.finalLinesRead, finalLinesRead);
  }

  void partOfFinalBlockAndPartialTabStay() {
    const BoardData shortFinal = boardfile::read(fixture("short-final-block.ord")).data;
    QCOMPARE(shortFinal.currentPhraseFont.name, QStringLiteral("Tahoma"));
    QCOMPARE(shortFinal.currentPhraseFont.size, 11);
    QCOMPARE(boardfile::read(fixture("ctrl-z.ord")).data.currentPhraseFont.size, 8);
    const BoardData cut = boardfile::read(fixture("truncated.ord")).data;
    QCOMPARE(cut.tabs[1], defaultBoard().tabs[1]);
    QCOMPARE(cut.tabs[2].texts, defaultBoard().tabs[2].texts.mid(0, 23));
    const BoardReadResult extra = boardfile::read(fixture("extra-lines.ord"));
    QCOMPARE(extra.data, defaultBoard());
  }

  void bareCarriageReturnEndsTheContentOnly() {
    const BoardReadResult r = boardfile::read(fixture("bare-cr.ord"));
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.selectedFont.color, clRed); // "255\rjunk"
    QCOMPARE(r.data.tabs[0].texts, QStringList({"avant", "un"}));
    QCOMPARE(r.data.tabs[1].caption, QStringLiteral("Deux"));
    QCOMPARE(r.data.finalLinesRead, 7);
  }

  void unreadableLineStopsTheRead_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("T1 trailing letter") << 2 << QByteArray("3x");
    QTest::newRow("T2 empty") << 3 << QByteArray();
    QTest::newRow("tab count in words") << 5 << QByteArray("three");
    QTest::newRow("size with trailing blank") << 8 << QByteArray("8 ");
    QTest::newRow("colour name unknown") << 9 << QByteArray("rouge");
    QTest::newRow("colour name misspelt") << 15 << QByteArray("clRedd");
    QTest::newRow("dollar alone") << 21 << QByteArray("$");
    QTest::newRow("double sign") << 27 << QByteArray("--1");
    QTest::newRow("hex over 32 bits") << 28 << QByteArray("$1FFFFFFFF");
    QTest::newRow("text count in words") << 33 << QByteArray("zero");
    QTest::newRow("text count overflows") << 36 << QByteArray("2147483648");
    QTest::newRow("third tab count C style hex") << 66 << QByteArray("0x1E");
  }
  void unreadableLineStopsTheRead() {
    QFETCH(int, line);
    QFETCH(QByteArray, content);
    const BoardReadResult r = boardfile::read(withLine(fixture("default.ord"), line, content));
    QCOMPARE(r.status, BoardReadStatus::Error);
    QCOMPARE(r.failedLine, line);
  }

  void missingLinesAreAnError_data() {
    QTest::addColumn<int>("linesKept");
    for (int kept : {1, 2, 4, 9, 12, 31, 32, 35, 37, 64, 67})
      QTest::addRow("%d lines", kept) << kept;
  }
  void missingLinesAreAnError() {
    QFETCH(int, linesKept);
    const BoardReadResult r = boardfile::read(firstLines(fixture("default.ord"), linesKept));
    QCOMPARE(r.status, BoardReadStatus::Error);
    QCOMPARE(r.failedLine, linesKept + 1);
  }

  void flagsOtherThanOneAreNotSet() {
    QByteArray bytes = withLine(fixture("default.ord"), 10, "yes");
    bytes = withLine(bytes, 11, "1");
    bytes = withLine(bytes, 12, " 1");
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QVERIFY(!r.data.selectedFont.bold);
    QVERIFY(r.data.selectedFont.italic);
    QVERIFY(!r.data.selectedFont.underline);
  }

  void negativeAndHugeCounts() {
    const QByteArray zero = fixture("zero-tabs.ord");
    const BoardReadResult negativeTabs = boardfile::read(withLine(zero, 5, "-3"));
    QCOMPARE(negativeTabs.status, BoardReadStatus::Ok);
    QVERIFY(negativeTabs.data.tabs.isEmpty());
    QCOMPARE(negativeTabs.data.finalLinesRead, 7);

    QList<QByteArray> lines = boardfile::splitLines(zero);
    lines[4] = "1";
    lines.insert(32, "-5");
    lines.insert(33, "Cap");
    lines.insert(34, "");
    const BoardReadResult negativeTexts = boardfile::read(lines.join("\r\n") + "\r\n");
    QCOMPARE(negativeTexts.status, BoardReadStatus::Ok);
    QCOMPARE(negativeTexts.data.tabs, QList<BoardTab>({{"Cap", {}}}));
    QCOMPARE(negativeTexts.data.finalLinesRead, 7);

    // Huge counts run out of lines instead of reserving room for them.
    const QByteArray d = fixture("default.ord");
    const BoardReadResult hugeTabs = boardfile::read(withLine(d, 5, "2147483647"));
    QCOMPARE(hugeTabs.status, BoardReadStatus::Error);
    const BoardReadResult hugeTexts = boardfile::read(withLine(d, 33, "$7FFFFFFF"));
    QCOMPARE(hugeTexts.status, BoardReadStatus::Error);
    QCOMPARE(hugeTexts.failedLine, 33);
  }

  // Files that would hold the program for minutes are refused at the line that goes too far;
  // a board at each bound still loads.
  void boardsBeyondTheBoundsAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("failedLine"); // 0: read whole
    QTest::newRow("500 tabs") << uniformBoard(500, 0) << 0;
    QTest::newRow("501 tabs") << uniformBoard(501, 0) << 5;
    QTest::newRow("25,000 texts") << uniformBoard(5, 5000) << 0;
    // The count of the second tab takes the board past the bound.
    QTest::newRow("25,002 texts over two tabs") << uniformBoard(2, 12501) << 33 + 12501 + 3;
    QTest::newRow("text of 32,767 bytes") << uniformBoard(1, 1, 32767) << 0;
    QTest::newRow("text of 32,768 bytes") << uniformBoard(1, 1, 32768) << 35;
    QTest::newRow("2 MiB of texts") << uniformBoard(1, 64, 32767) << 0;
    QTest::newRow("over 2 MiB of texts, as the program can make")
        << uniformBoard(1, 65, 32767) << 0;
  }
  void boardsBeyondTheBoundsAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, failedLine);
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, failedLine ? BoardReadStatus::Error : BoardReadStatus::Ok);
    QCOMPARE(r.failedLine, failedLine);
  }

  // The file is read a part at a time: lines, and the junk after a bare CR, that straddle two
  // parts read as if the file were read whole.
  void readsAcrossTheParts() {
    BoardData d = defaultBoard();
    BoardTab many{QStringLiteral("Beaucoup"), {}};
    for (int i = 0; i < 3000; ++i)
      many.texts << QString(1 + i % 97, QLatin1Char('a' + i % 26));
    d.tabs << many;
    QCOMPARE(boardfile::read(boardfile::write(d)).data, d);

    BoardData small;
    small.tabs << BoardTab{QStringLiteral("Un"), {QStringLiteral("avant"), "x", "fin"}};
    QByteArray bytes = boardfile::write(small);
    bytes.replace("\r\nx\r\n", "\r\nx\r" + QByteArray(70000, 'j') + "\r\n");
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data, small);
  }

  void parseInteger_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << QByteArray("12") << true << 12;
    QTest::newRow("leading blanks") << QByteArray("  \t7") << true << 7;
    QTest::newRow("minus") << QByteArray("-5") << true << -5;
    QTest::newRow("plus") << QByteArray("+5") << true << 5;
    QTest::newRow("leading zeros") << QByteArray("007") << true << 7;
    QTest::newRow("hex size") << QByteArray("$0000000C") << true << 12;
    QTest::newRow("hex lower case") << QByteArray("$ff") << true << 255;
    QTest::newRow("negative hex") << QByteArray("-$10") << true << -16;
    QTest::newRow("system colour") << QByteArray("$80000005") << true << int(0x80000005u);
    QTest::newRow("all ones") << QByteArray("$FFFFFFFF") << true << -1;
    QTest::newRow("max") << QByteArray("2147483647") << true << 2147483647;
    QTest::newRow("min") << QByteArray("-2147483648") << true << int(0x80000000u);
    QTest::newRow("empty") << QByteArray() << false << 0;
    QTest::newRow("blank") << QByteArray(" ") << false << 0;
    QTest::newRow("sign alone") << QByteArray("-") << false << 0;
    QTest::newRow("trailing garbage") << QByteArray("12a") << false << 0;
    QTest::newRow("trailing blank") << QByteArray("12 ") << false << 0;
    QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
    QTest::newRow("C hex") << QByteArray("0x10") << false << 0;
    QTest::newRow("exponent") << QByteArray("1e3") << false << 0;
    QTest::newRow("over max") << QByteArray("2147483648") << false << 0;
    QTest::newRow("under min") << QByteArray("-2147483649") << false << 0;
    QTest::newRow("far over max") << QByteArray("99999999999999999999999") << false << 0;
    QTest::newRow("hex over 32 bits") << QByteArray("$100000000") << false << 0;
    QTest::newRow("hex digit g") << QByteArray("$1G") << false << 0;
    QTest::newRow("embedded zero") << QByteArray("1\0", 2) << false << 0;
  }
  void parseInteger() {
    QFETCH(QByteArray, line);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto v = boardfile::parseInteger(line);
    QCOMPARE(v.has_value(), ok);
    if (ok)
      QCOMPARE(*v, value);
  }

  void colourForms_data() {
    QTest::addColumn<int>("colour");
    QTest::addColumn<QByteArray>("form");
    QTest::newRow("red") << int(clRed) << QByteArray("clRed");
    QTest::newRow("silver") << int(clSilver) << QByteArray("clSilver");
    QTest::newRow("med gray") << 0xA4A0A0 << QByteArray("clMedGray");
    QTest::newRow("none") << 0x1FFFFFFF << QByteArray("clNone");
    QTest::newRow("default") << 0x20000000 << QByteArray("clDefault");
    QTest::newRow("window") << int(clWindow) << QByteArray("clWindow");
    QTest::newRow("3D dark shadow") << int(0x80000015u) << QByteArray("cl3DDkShadow");
    QTest::newRow("gradient inactive")
        << int(0x8000001Cu) << QByteArray("clGradientInactiveCaption");
    QTest::newRow("plain RGB") << 0xC08040 << QByteArray("$00C08040");
    QTest::newRow("system colour 25 has no name") << int(0x80000019u) << QByteArray("$80000019");
    QTest::newRow("minus one") << -1 << QByteArray("$FFFFFFFF");
    QTest::newRow("small") << 0xC << QByteArray("$0000000C");
  }
  void colourForms() {
    QFETCH(int, colour);
    QFETCH(QByteArray, form);
    QCOMPARE(boardfile::colourToString(colour), form);
    QCOMPARE(boardfile::parseColour(form), std::optional<TColor>(colour));
    QCOMPARE(boardfile::parseColour(form.toUpper()), std::optional<TColor>(colour));
    QCOMPARE(boardfile::parseColour(form.toLower()), std::optional<TColor>(colour));
    QCOMPARE(boardfile::parseColour(QByteArray::number(colour)), std::optional<TColor>(colour));
  }

  void splitLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QByteArray>>("lines");
    using L = QList<QByteArray>;
    QTest::newRow("empty") << QByteArray() << L{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L{"a", "b"};
    QTest::newRow("LF only, no last end") << QByteArray("a\nb") << L{"a", "b"};
    QTest::newRow("bare CR") << QByteArray("a\rb\r\nc\r\n") << L{"a", "c"};
    QTest::newRow("two bare CRs") << QByteArray("a\r\rb\nc") << L{"a", "c"};
    QTest::newRow("CR at the end") << QByteArray("a\r") << L{"a"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx\r\n") << L{"", "", "x"};
    QTest::newRow("Ctrl+Z inside a line") << QByteArray("a\x1A"
                                                        "b\r\nc\r\n")
                                          << L{"a"};
    QTest::newRow("Ctrl+Z after a bare CR") << QByteArray("a\rb\x1A\nc\r\n") << L{"a"};
    QTest::newRow("zero byte kept") << QByteArray("a\0b\r\n", 5) << L{QByteArray("a\0b", 3)};
  }
  void splitLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(boardfile::splitLines(bytes), lines);
  }

  void everyBoardSurvivesWriteAndRead() {
    // Boards with values at the edges: the tab-strip colour is the one value not stored.
    QRandomGenerator rng(20240611);
    const QStringList words = {QString(),
                               "RETOUR",
                               QStringLiteral("Ça été"),
                               "a b",
                               "x",
                               QString(500, QChar(0xE9)),
                               QStringLiteral("€‰œ"),
                               "  "};
    const TColor colours[] = {0,         -1,        clRed,      clWindow, clWindowText,
                              INT32_MIN, INT32_MAX, 0x1FFFFFFF, 0xC08040, int(0x80000019u)};
    auto anyFont = [&] {
      return font(words[rng.bounded(int(words.size()))], int(rng.generate()) % 200,
                  colours[rng.bounded(10)], rng.bounded(2), rng.bounded(2), rng.bounded(2));
    };
    for (int round = 0; round < 40; ++round) {
      BoardData b;
      b.t1Seconds = int(rng.generate());
      b.t2Seconds = rng.bounded(101);
      b.selectedFont = anyFont();
      b.unselectedFont = anyFont();
      b.tabFont = anyFont();
      b.tabFont.color = clWindowText;
      b.validatedFont = anyFont();
      b.currentPhraseFont = anyFont();
      b.tabColor = colours[rng.bounded(10)];
      b.memoColor = colours[rng.bounded(10)];
      b.finalMemoColor = colours[rng.bounded(10)];
      for (int t = rng.bounded(5); t > 0; --t) {
        BoardTab tab{words[rng.bounded(int(words.size()))], {}};
        for (int i = rng.bounded(6); i > 0; --i)
          tab.texts << words[rng.bounded(int(words.size()))];
        b.tabs << tab;
      }
      const QByteArray bytes = boardfile::write(b);
      const BoardReadResult r = boardfile::read(bytes);
      QCOMPARE(r.status, BoardReadStatus::Ok);
      QCOMPARE(r.data, b);
      QCOMPARE(boardfile::write(r.data), bytes);
    }
  }

  void lineBreakingCharactersCannotShiftTheFile() {
    BoardData b = defaultBoard();
    b.tabs[0].texts = {"a\nb", QString("x") + QChar(26), "c\r\nd"};
    b.tabs[1].caption = QStringLiteral("Alpha\u03B2et"); // not in the code page
    const BoardReadResult r = boardfile::read(boardfile::write(b));
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.tabs[0].texts, QStringList({"a b", "x ", "c  d"}));
    QCOMPARE(r.data.tabs[1].caption, QStringLiteral("Alpha?et"));
    QCOMPARE(r.data.tabs[2], defaultBoard().tabs[2]);
    QCOMPARE(r.data.finalLinesRead, 7);
  }
};

ORIVOX_TEST(BoardFileTest)
#include "BoardFileTest.moc"
