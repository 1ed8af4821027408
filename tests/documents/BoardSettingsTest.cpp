// The settings block after the final block of a board file: what a hand-edited or later
// version's block reads as, and that a board keeps its settings through a save.
#include "documents/BoardFile.h"
#include "support/Fixtures.h"

#include "support/TestRegistry.h"

#include <QFile>
#include <QTest>

Q_DECLARE_METATYPE(BoardSettings)

namespace {

template <typename F> BoardSettings with(F change) {
  BoardSettings s;
  change(s);
  return s;
}
} // namespace

class BoardSettingsTest : public QObject {
  Q_OBJECT
private slots:
  void blockAfterTheFinalBlock_data() {
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<BoardSettings>("expected");
    QTest::addColumn<bool>("kept"); // the next save writes the block back byte for byte
    const QByteArray m = "#OrivoxSettings 1\r\n";
    QTest::newRow("no block") << QByteArray() << BoardSettings() << true;
    QTest::newRow("lines without the marker are not read")
        << QByteArray("speakPhrase=1\r\n") << BoardSettings() << false;
    QTest::newRow("marker without a version")
        << QByteArray("#OrivoxSettings\r\nspeakPhrase=1\r\n") << BoardSettings() << false;
    QTest::newRow("a later version is read for the keys it shares, its marker kept")
        << QByteArray("#OrivoxSettings 2\r\nspeakPhrase=1\r\nnewThing=x\r\n")
        << with([](BoardSettings& s) { s.speakPhrase = true; }) << true;
    QTest::newRow("pace to the tenth") << m + "tabPaceMs=2500\r\ntextPaceMs=700\r\n"
                                       << with([](BoardSettings& s) {
                                            s.tabPaceMs = 2500;
                                            s.textPaceMs = 700;
                                          })
                                       << true;
    QTest::newRow("pace below 0.3 s, off the step, above 100 s, negative")
        << m + "tabPaceMs=120\r\ntextPaceMs=1549\r\nfirstItemExtraMs=99999\r\nacceptanceMs=-3\r\n"
        << with([](BoardSettings& s) {
             s.tabPaceMs = 300;
             s.textPaceMs = 1500;
             s.firstItemExtraMs = 10000;
           })
        << true;
    QTest::newRow("limits of counts, rate and volume")
        << m + "loopsBeforeBack=99\r\ngridColumns=-1\r\nrate=-500\r\nvolume=101\r\n"
        << with([](BoardSettings& s) {
             s.loopsBeforeBack = 20;
             s.rate = -100;
           })
        << true;
    QTest::newRow("malformed values and an unknown highlight keep their default, and stay")
        << m + "tabPaceMs=1,5\r\nspeakPhrase=yes\r\nvolume=\r\nhighlight=blink\r\nrate=$10\r\n"
        << BoardSettings() << true;
    QTest::newRow("last of a repeated key wins, lines without '=' stay in place")
        << m + "speakTexts=1\r\nnot a setting\r\n=3\r\n\r\nspeakTexts=0\r\nhighlight=frame\r\n"
        << with([](BoardSettings& s) { s.highlight = HighlightStyle::Frame; }) << true;
    QTest::newRow("prediction on, suggestions past the limits")
        << m + "prediction=1\r\npredictionWords=12\r\n"
        << with([](BoardSettings& s) {
             s.prediction = true;
             s.predictionWords = 8;
           })
        << true;
    QTest::newRow("prediction off, fewest suggestions, malformed flag kept off")
        << m + "prediction=on\r\npredictionWords=0\r\n"
        << with([](BoardSettings& s) { s.predictionWords = 1; }) << true;
    QTest::newRow("words let go by replaced, a malformed flag after it kept as read")
        << m + "prediction=1\r\nreplacePassedOver=1\r\nreplacePassedOver=yes\r\n"
        << with([](BoardSettings& s) {
             s.prediction = true;
             s.replacePassedOver = true;
           })
        << true;
    QTest::newRow("picture labels below")
        << m + "pictureLabel=below\r\n"
        << with([](BoardSettings& s) { s.pictureLabel = PictureLabel::Below; }) << true;
    QTest::newRow("picture labels hidden, an unknown place kept as read")
        << m + "pictureLabel=hidden\r\npictureLabel=left\r\n"
        << with([](BoardSettings& s) { s.pictureLabel = PictureLabel::Hidden; }) << true;
    QTest::newRow("prompts over a screen reader, a malformed flag after it kept as read")
        << m + "promptsWithScreenReader=1\r\npromptsWithScreenReader=yes\r\n"
        << with([](BoardSettings& s) { s.promptsWithScreenReader = true; }) << true;
    QTest::newRow("voice and unknown lines as written")
        << m + QByteArray("voice=fr \xe9t\xe9\r\nzeta=1=2\r\nalpha=\r\n")
        << with([](BoardSettings& s) { s.voice = QStringLiteral("fr été"); }) << true;
    QTest::newRow("two switches on keys of their own, move-repeat off the step and too fast")
        << m + "accessMode=twoSwitchStep\r\nmoveKey=65\r\nchooseKey=66\r\nmoveRepeat=1\r\n"
               "moveRepeatDelayMs=650\r\nmoveRepeatPaceMs=20\r\n"
        << with([](BoardSettings& s) {
             s.accessMode = AccessMode::TwoSwitchStep;
             s.moveKey = 65;
             s.chooseKey = 66;
             s.moveRepeat = true;
             s.moveRepeatDelayMs = 700;
             s.moveRepeatPaceMs = 100;
           })
        << true;
    QTest::newRow("held switch; step with dwell, its wait past the limit")
        << m + "accessMode=inverse\r\naccessMode=stepDwell\r\ndwellMs=99999\r\n"
        << with([](BoardSettings& s) {
             s.accessMode = AccessMode::StepDwell;
             s.dwellMs = 10000;
           })
        << true;
    QTest::newRow("an unknown mode, Ctrl as a switch and a code without a key keep the defaults")
        << m + "accessMode=gaze\r\nmoveKey=17\r\nchooseKey=254\r\n"
        << BoardSettings() << true;
    QTest::newRow("one key for both switches gives both their defaults")
        << m + "moveKey=65\r\nchooseKey=65\r\n"
        << BoardSettings() << true;
  }
  void accessWrittenOnlyWhenNotTheDefault_data() {
    QTest::addColumn<BoardSettings>("settings");
    QTest::addColumn<QByteArray>("accessLines"); // the block's lines about access, in order
    QTest::newRow("automatic scanning: none")
        << with([](BoardSettings& s) { s.speakPhrase = true; }) << QByteArray();
    QTest::newRow("two switches with the default keys")
        << with([](BoardSettings& s) { s.accessMode = AccessMode::TwoSwitchStep; })
        << QByteArray("accessMode=twoSwitchStep\r\n");
    QTest::newRow("keys, move-repeat and dwell changed, mode automatic")
        << with([](BoardSettings& s) {
             s.moveKey = 96;
             s.chooseKey = 97;
             s.moveRepeat = true;
             s.moveRepeatPaceMs = 300;
             s.dwellMs = 1000;
           })
        << QByteArray("moveKey=96\r\nchooseKey=97\r\nmoveRepeatPaceMs=300\r\ndwellMs=1000\r\n"
                      "moveRepeat=1\r\n");
    QTest::newRow("held switch") << with([](BoardSettings& s) {
      s.accessMode = AccessMode::Inverse;
    }) << QByteArray("accessMode=inverse\r\n");
  }
  void accessWrittenOnlyWhenNotTheDefault() {
    QFETCH(BoardSettings, settings);
    QFETCH(QByteArray, accessLines);
    const QByteArray block = boardsettings::write(settings);
    QByteArray access;
    for (const QByteArray& line : boardfile::splitLines(block))
      if (line.startsWith("access") || line.startsWith("move") || line.startsWith("choose") ||
          line.startsWith("dwell"))
        access += line + "\r\n";
    QCOMPARE(access, accessLines);
    BoardSettings back = boardsettings::parse(boardfile::splitLines(block));
    back.storedBlock.clear();
    QCOMPARE(back, settings);
  }

  void blockAfterTheFinalBlock() {
    QFETCH(QByteArray, after);
    QFETCH(BoardSettings, expected);
    QFETCH(bool, kept);
    const QByteArray board = boardFixture("default.ord");
    const BoardReadResult r = boardfile::read(board + after);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    BoardSettings values = r.data.settings;
    values.storedBlock.clear();
    QCOMPARE(values, expected);
    // What was read is what the next save writes.
    QCOMPARE(boardfile::write(r.data), kept ? board + after : board);
  }

  void aChangedValueIsRewrittenWhereItStands() {
    const QByteArray board = boardFixture("default.ord");
    const QByteArray block = "#OrivoxSettings 2\r\nfutureKey=1\r\nhighlight=blink\r\n"
                             "speakPhrase=0\r\na note\r\nrate=10\r\n";
    BoardData d = boardfile::read(board + block).data;
    d.settings.speakPhrase = true;
    d.settings.acceptanceMs = 500; // a key the block did not hold comes at its end
    QCOMPARE(boardfile::write(d), board +
                                      "#OrivoxSettings 2\r\nfutureKey=1\r\nhighlight=blink\r\n"
                                      "speakPhrase=1\r\na note\r\nrate=10\r\nacceptanceMs=500\r\n");
    d.settings.highlight = HighlightStyle::Frame;
    QVERIFY(
        boardfile::write(d).contains("\r\nfutureKey=1\r\nhighlight=frame\r\nspeakPhrase=1\r\n"));
  }

  // A board that never asked for prompts over a screen reader saves as before.
  void promptsWithScreenReaderWrittenOnlyWhenAsked() {
    BoardSettings s;
    s.speakPrompts = true;
    QVERIFY(!boardsettings::write(s).contains("promptsWithScreenReader"));
    s.promptsWithScreenReader = true;
    const QByteArray block = boardsettings::write(s);
    QVERIFY(block.endsWith("\r\npromptsWithScreenReader=1\r\n"));
    const BoardSettings read = boardsettings::parse(boardfile::splitLines(block));
    QVERIFY(read.promptsWithScreenReader);
    QVERIFY(read.speakPrompts);
    // Asked alone, it is a setting of its own: the block is written.
    BoardSettings alone;
    alone.promptsWithScreenReader = true;
    QVERIFY(!alone.isDefault());
    QVERIFY(boardsettings::write(alone).contains("promptsWithScreenReader=1"));
  }

  // The prediction's keys are absent from a block written without them, so that a board that
  // never used prediction saves as before; once used they are written and read back.
  void predictionKeysWrittenOnlyWhenUsed_data() {
    QTest::addColumn<BoardSettings>("used");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("prediction") << with([](BoardSettings& s) { s.prediction = true; })
                                << QByteArray("prediction=1");
    QTest::newRow("suggestions") << with([](BoardSettings& s) { s.predictionWords = 3; })
                                 << QByteArray("predictionWords=3");
    QTest::newRow("words let go by") << with([](BoardSettings& s) { s.replacePassedOver = true; })
                                     << QByteArray("replacePassedOver=1");
  }
  void predictionKeysWrittenOnlyWhenUsed() {
    QFETCH(BoardSettings, used);
    QFETCH(QByteArray, line);
    BoardSettings s;
    s.speakPhrase = true;
    QVERIFY(!boardsettings::write(s).contains(line.left(line.indexOf('=') + 1)));
    used.speakPhrase = true;
    const QByteArray block = boardsettings::write(used);
    QVERIFY2(block.contains("\r\n" + line + "\r\n"), block.constData());
    BoardSettings back = boardsettings::parse(boardfile::splitLines(block));
    back.storedBlock.clear();
    QCOMPARE(back, used);
  }

  void pictureLabelWrittenOnlyWhenNotAbove() {
    BoardSettings s;
    s.speakPhrase = true;
    QVERIFY(!boardsettings::write(s).contains("pictureLabel"));
    s.pictureLabel = PictureLabel::Hidden;
    const QByteArray block = boardsettings::write(s);
    QVERIFY(block.endsWith("\r\npictureLabel=hidden\r\n"));
    QCOMPARE(boardsettings::parse(boardfile::splitLines(block)).pictureLabel, PictureLabel::Hidden);
  }

  void cutShortFinalBlockHasNoSettings() {
    // A line after an incomplete final block is the rest of a damaged file, not settings.
    const QList<QByteArray> lines = boardfile::splitLines(boardFixture("default.ord"));
    const QByteArray cut = lines.mid(0, lines.size() - 6).join("\r\n") +
                           "\r\ngarbage\r\n#OrivoxSettings 1\r\nspeakPhrase=1\r\n";
    const BoardReadResult r = boardfile::read(cut);
    QCOMPARE(r.data.finalLinesRead, 1);
    QCOMPARE(r.data.settings, BoardSettings());
  }

  void settingsBoardSavesAsItWasRead() {
    const QByteArray bytes = boardFixture("settings.ord");
    const BoardReadResult r = boardfile::read(bytes);
    QCOMPARE(r.status, BoardReadStatus::Ok);
    QCOMPARE(r.data.settings.tabPaceMs, 2500);
    QCOMPARE(r.data.settings.voice, QStringLiteral("french"));
    QCOMPARE(boardfile::write(r.data), bytes);
    // Without the settings the file is the board's own, as any earlier version wrote it.
    BoardData plain = r.data;
    plain.settings = BoardSettings();
    QCOMPARE(boardfile::write(plain), boardFixture("default.ord"));
  }

  void storedTextCannotBreakTheBlock() {
    BoardSettings s;
    s.voice = QStringLiteral("a\r\nspeakPhrase=1");
    s.storedBlock = {"#OrivoxSettings 1", QByteArray("k=v\nspeakTexts=1") + char(26)};
    const QByteArray block = boardsettings::write(s);
    QVERIFY(!block.contains(char(26)));
    const BoardSettings back = boardsettings::parse(boardfile::splitLines(block));
    QVERIFY(!back.speakPhrase);
    QVERIFY(!back.speakTexts);
    QCOMPARE(back.voice, QStringLiteral("a  speakPhrase=1"));
  }
};

ORIVOX_TEST(BoardSettingsTest)
#include "BoardSettingsTest.moc"
