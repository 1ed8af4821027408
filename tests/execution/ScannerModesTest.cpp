// The access modes' scanning with a time the test hands in: the person's steps, presses,
// releases and the timer's ticks in; what is lit, what is chosen and when the next tick is due
// out (see ScanScript.h for the script and the outcome lines).
#include "ScanScript.h"
#include "execution/Scanner.h"
#include "support/TestRegistry.h"

#include <QtTest>

class ScannerModesTest : public QObject {
  Q_OBJECT
private slots:
  void modes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("rowColumn");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    const int two = int(AccessMode::TwoSwitchStep);
    const int inverse = int(AccessMode::Inverse);
    const int dwell = int(AccessMode::StepDwell);

    // Two switches: the move switch steps ("m"), the choose switch's press ("p") chooses.
    QTest::newRow("two switches: the active tab lit at once; moves skip hidden tabs")
        << two << false << "s1 | m100 | m200 | m300 | t9000"
        << "1* @-1 | 3* @-1 | 0* @-1 | 1* @-1 | 1* @-1";
    QTest::newRow("two switches: a tab chosen lights its first text; nothing moves by itself")
        << two << false << "s1 | p100 | r150 | t9000 | m500 | m600 | p700 | r750 | m800"
        << "1* @-1 | 1*:i0 +tab @-1 | 1*:i0 @-1 | 1*:i0 @-1 | 1*:i1 @-1 | 1*:i2 @-1 | "
           "1*:i2 !2 @-1 | 1*:i2 @-1 | 1*:i3 @-1";
    QTest::newRow("two switches: row-column, a row chosen, its items, back to the rows")
        << two << true << "s1 | p100 | m200 | p300 | m400 | m500 | p600 | p700"
        << "1* @-1 | 1*:r0 +tab @-1 | 1*:r1 @-1 | 1*:r1:i3 +row @-1 | 1*:r1:i4 @-1 | "
           "1*:r1 @-1 | 1*:r1:i3 +row @-1 | 1*:r0 !3 @-1";
    QTest::newRow("two switches: after RETOUR the tab left stays lit, nothing moves")
        << two << false << "s3 | p0 | m100 | R | t9000 | m9100"
        << "3* @-1 | 3*:i0 +tab @-1 | 3*:i1 @-1 | 3* @-1 | 3* @-1 | 0* @-1";
    QTest::newRow("two switches: the last text steps round to the first")
        << two << false << "s0 | p0 | m1 | m2 | m3 | m4 | m5 | m6 | m7"
        << "0* @-1 | 0*:i0 +tab @-1 | 0*:i1 @-1 | 0*:i2 @-1 | 0*:i3 @-1 | 0*:i4 @-1 | "
           "0*:i5 @-1 | 0*:i6 @-1 | 0*:i0 @-1";

    // Inverse: the highlight moves while the switch is held; the release chooses, unless it
    // comes within the acceptance time (300 ms) of the press.
    QTest::newRow("inverse: held, the tabs move at their pace; let go, the lit one is chosen")
        << inverse << false << "s1 | p0 | k | r3500 | t9000"
        << "1 @-1 | 1* @3000 | 3* @6000 | 3* +tab @-1 | 3* @-1";
    QTest::newRow("inverse: the first text lit as the switch goes down, then at the text pace")
        << inverse << false << "s3 | p0 | r400 | p10000 | k | k | r13100"
        << "3 @-1 | 3* @3000 | 3* +tab @-1 | 3*:i0 @11000 | 3*:i1 @12000 | 3*:i2 @13000 | "
           "3*:i2 !2 @-1";
    QTest::newRow("inverse: a brush chooses nothing; a longer hold chooses what is lit")
        << inverse << false << "s3 | p0 | r400 | p1000 | k | r2100 | p3000 | r3100 | p4000 | r4500"
        << "3 @-1 | 3* @3000 | 3* +tab @-1 | 3*:i0 @2000 | 3*:i1 @3000 | 3*:i1 !1 @-1 | "
           "3*:i1 @4000 | 3*:i1 @-1 | 3*:i1 @5000 | 3*:i1 !1 @-1";
    QTest::newRow("inverse: row-column, release chooses the row, then the text")
        << inverse << true << "s1 | p0 | r400 | p1000 | k | r2500 | p3000 | k | r4200"
        << "1 @-1 | 1* @3000 | 1* +tab @-1 | 1*:r0 @2000 | 1*:r1 @3000 | 1*:r1:i3 +row @-1 | "
           "1*:r1:i3 @4000 | 1*:r1:i4 @5000 | 1* !4 @-1";
    QTest::newRow("inverse: a switch lost while held stops the highlight, chooses nothing")
        << inverse << false << "s1 | p0 | l500 | t3000 | r3100"
        << "1 @-1 | 1* @3000 | 1* @-1 | 1* @-1 | 1* @-1";

    // Step with dwell (2 s): each press steps; no press for the dwell time chooses.
    QTest::newRow("dwell: nothing chosen before a press; the wait starts at the release")
        << dwell << false << "s1 | t9000 | p10000 | r10100 | p11000 | r11100 | k"
        << "1 @-1 | 1 @-1 | 1* @-1 | 1* @12100 | 3* @-1 | 3* @13100 | 3* +tab @-1";
    QTest::newRow("dwell: after a choice nothing more is chosen until a press")
        << dwell << false << "s3 | p0 | r0 | k | p3000 | r3000 | p4000 | r4000 | k | t20000"
        << "3 @-1 | 3* @-1 | 3* @2000 | 3* +tab @-1 | 3*:i0 @-1 | 3*:i0 @5000 | 3*:i1 @-1 | "
           "3*:i1 @6000 | 3*:i1 !1 @-1 | 3*:i1 @-1";
    QTest::newRow("dwell: move-repeat steps while the switch is held")
        << dwell << false << "s3 | p0 | r0 | k | p3000 | m3500 | m4000 | r4100"
        << "3 @-1 | 3* @-1 | 3* @2000 | 3* +tab @-1 | 3*:i0 @-1 | 3*:i1 @-1 | 3*:i2 @-1 | "
           "3*:i2 @6100";
    QTest::newRow("dwell: a row chosen waits on its first text, which the wait takes")
        << dwell << true << "s1 | p0 | r0 | k | p3000 | r3000 | k | k"
        << "1 @-1 | 1* @-1 | 1* @2000 | 1* +tab @-1 | 1*:r0 @-1 | 1*:r0 @5000 | "
           "1*:r0:i0 +row @7000 | 1* !0 @-1";
    QTest::newRow("dwell: a press waiting for its acceptance time holds the wait")
        << dwell << false << "s1 | p0 | r100 | H1000 | g1200 | k"
        << "1 @-1 | 1* @-1 | 1* @2100 | 1* @-1 | 1* @3200 | 1* +tab @-1";
    QTest::newRow("dwell: a switch lost while down chooses nothing")
        << dwell << false << "s1 | p0 | l100 | t9000"
        << "1 @-1 | 1* @-1 | 1* @-1 | 1* @-1";
  }
  void modes() {
    QFETCH(int, mode);
    QFETCH(bool, rowColumn);
    QFETCH(QString, script);
    QFETCH(QString, expected);
    ScanSettings settings;
    settings.mode = AccessMode(mode);
    settings.rowColumn = rowColumn;
    settings.acceptanceMs = 300;
    settings.dwellMs = 2000;
    settings.loopsBeforeBack = 2; // counted only by automatic scanning
    Scanner scanner(settings);
    scanner.setBoard(storyBoard());
    QCOMPARE(run(scanner, script).split(QStringLiteral(" | ")),
             expected.split(QStringLiteral(" | ")));
  }

  void suggestionsReachedFirstAfterAChoice_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");
    // A page whose first items change with each choice, like a row of suggested words.
    QTest::newRow("two switches: the first suggestion lit at once")
        << int(AccessMode::TwoSwitchStep) << "s0 | p0 | m100 | m200 | p300"
        << "0* @-1 | 0*:i0 +tab @-1 | 0*:i1 @-1 | 0*:i2 @-1 | 0*:i0 !2 @-1";
    QTest::newRow("dwell: the next press lights the first suggestion")
        << int(AccessMode::StepDwell) << "s0 | p0 | r0 | k | p3000 | r3000 | k | p6000"
        << "0 @-1 | 0* @-1 | 0* @2000 | 0* +tab @-1 | 0*:i0 @-1 | 0*:i0 @5000 | 0* !0 @-1 | "
           "0*:i0 @-1";
  }
  void suggestionsReachedFirstAfterAChoice() {
    QFETCH(int, mode);
    QFETCH(QString, script);
    QFETCH(QString, expected);
    ScanSettings settings;
    settings.mode = AccessMode(mode);
    Scanner scanner(settings);
    scanner.setBoard({ScanTab{true, 9, {}, true}});
    QCOMPARE(run(scanner, script).split(QStringLiteral(" | ")),
             expected.split(QStringLiteral(" | ")));
  }
};

ORIVOX_TEST(ScannerModesTest)
#include "ScannerModesTest.moc"
