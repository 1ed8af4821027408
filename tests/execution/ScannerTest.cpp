// The scanning rules with a time the test hands in: scripts of presses, releases and ticks in,
// the highlights, choices and deadlines out.
#include "execution/Scanner.h"
#include "ScanScript.h"
#include "support/TestRegistry.h"

#include <QtTest>

class ScannerTest : public QObject {
  Q_OBJECT
private slots:
  void story_data() {
    QTest::addColumn<int>("extraMs");
    QTest::addColumn<int>("loops");
    QTest::addColumn<bool>("rowColumn");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("expected");

    // With every default: the tab pace 3 s, the text pace 1 s, one item at a time.
    QTest::newRow("tabs walk on from the active one, skipping hidden tabs, not lit before")
        << 0 << 0 << false << "s1 | k | k | k"
        << "1 @3000 | 3* @6000 | 0* @9000 | 1* @12000";
    QTest::newRow("press chooses the tab, first text one pace later, release acts")
        << 0 << 0 << false << "s1 | k3 | p9500 | r9600 | k | k | p12600 | r12700 | k"
        << "1 @3000 | 1* @12000 | 1* +tab @10500 | 1* @10500 | 1*:i0 @11500 | 1*:i1 @12500 | "
           "1*:i1 @12500 | 1*:i1 !1 @12500 | 1*:i2 @13500";
    QTest::newRow("the release of the choosing press does nothing, however late")
        << 0 << 0 << false << "s1 | p100 | k | k | r2500 | p2600 | r2700"
        << "1 @3000 | 1 +tab @1100 | 1:i0 @2100 | 1:i1 @3100 | 1:i1 @3100 | 1:i1 @3100 | "
           "1:i1 !1 @3100";
    QTest::newRow("a press and release before the first text tick choose nothing")
        << 0 << 0 << false << "s0 | p100 | r150 | p300 | r400 | k"
        << "0 @3000 | 0 +tab @1100 | 0 @1100 | 0 @1100 | 0 @1100 | 0:i0 @2100";
    QTest::newRow("the items loop; presses in the text phase do nothing")
        << 0 << 0 << false << "s0 | p0 | r1 | k7 | k | p8100"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i6 @8000 | 0:i0 @9000 | 0:i0 @9000";
    QTest::newRow("back to the tabs: the tab stays lit and a press takes it at once")
        << 0 << 0 << false << "s1 | k3 | p9000 | r9100 | k6 | p15100 | r15200 | R | p15300 | k"
        << "1 @3000 | 1* @12000 | 1* +tab @10000 | 1* @10000 | 1*:i5 @16000 | "
           "1*:i5 @16000 | 1*:i5 !5 @16000 | 1* @18200 | 1* +tab @16300 | 1*:i0 @17300";
    QTest::newRow("after going back the next tab comes one tab pace later")
        << 0 << 0 << false << "s0 | p0 | r1 | k | p1100 | r1200 | R | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i0 @2000 | 0:i0 @2000 | 0:i0 !0 @2000 | "
           "0 @4200 | 1* @7200";
    QTest::newRow("a tick held up past its time keeps the pace from then")
        << 0 << 0 << false << "s0 | p0 | r1 | k | t5500 | t5600 | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i0 @2000 | 0:i1 @6500 | 0:i1 @6500 | "
           "0:i2 @7500";

    // Extra time on the first item: the first text after a tab is chosen and the first tab
    // after going back; only the first.
    QTest::newRow("extra: first text and first tab after going back stay longer")
        << 700 << 0 << false << "s0 | k | p3000 | r3100 | k | k | k | p7000 | r7100 | R | k"
        << "0 @3000 | 1* @6000 | 1* +tab @4000 | 1* @4000 | 1*:i0 @5700 | 1*:i1 @6700 | "
           "1*:i2 @7700 | 1*:i2 @7700 | 1*:i2 !2 @7700 | 1* @10800 | 3* @13800";
    // Loops before going back: after two loops over the 7 items the scan is on the tabs again;
    // a choice starts the count again.
    QTest::newRow("loops: two full loops then back to the tabs")
        << 0 << 2 << false << "s0 | p0 | r1 | k14 | k | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i6 @15000 | 0 ^ @18000 | 1* @21000";
    QTest::newRow("loops: a choice counts anew")
        << 0 << 1 << false << "s0 | p0 | r1 | k4 | p4100 | r4200 | k7 | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i3 @5000 | 0:i3 @5000 | 0:i3 !3 @5000 | "
           "0:i3 @12000 | 0 ^ @15000";

    // Row-column: rows lit in turn, a release takes the row and lights its first item at once,
    // a release on an item chooses it and the scan starts again at the first row.
    QTest::newRow("row-column: row, then item, then the first row again")
        << 0 << 0 << true
        << "s1 | k3 | p9000 | r9100 | k | k | p11300 | r11400 | k | p12500 | r12600 | k"
        << "1 @3000 | 1* @12000 | 1* +tab @10000 | 1* @10000 | 1*:r0 @11000 | 1*:r1 @12000 | "
           "1*:r1 @12000 | 1*:r1:i3 +row @12400 | 1*:r1:i4 @13400 | 1*:r1:i4 @13400 | "
           "1*:r0 !4 @13600 | 1*:r1 @14600";
    QTest::newRow("row-column: a missed row lights the same row again, as a new scan")
        << 300 << 0 << true << "s1 | p0 | r1 | k2 | p2400 | r2500 | k | k | k"
        << "1 @3000 | 1 +tab @1000 | 1 @1000 | 1:r1 @3300 | 1:r1 @3300 | 1:r1:i3 +row @3800 | "
           "1:r1:i4 @4800 | 1:r1 @6100 | 1:r2 @7100";
    QTest::newRow("row-column: extra on the first row, the first item and after a choice")
        << 500 << 0 << true << "s1 | p0 | r1 | k | k | p2600 | r2700 | k | p4300 | r4400"
        << "1 @3000 | 1 +tab @1000 | 1 @1000 | 1:r0 @2500 | 1:r1 @3500 | 1:r1 @3500 | "
           "1:r1:i3 +row @4200 | 1:r1:i4 @5200 | 1:r1:i4 @5200 | 1:r0 !4 @5900";
    QTest::newRow("row-column: loops count the rows")
        << 0 << 1 << true << "s1 | p0 | r1 | k3 | k"
        << "1 @3000 | 1 +tab @1000 | 1 @1000 | 1:r2 @4000 | 1 ^ @7000";
    // The scan holds still while the switch decides: no tick moves it, and what is chosen is
    // what was lit when the hold began.
    QTest::newRow("hold: a tab held for acceptance stays lit, then a full pace")
        << 0 << 0 << false << "s1 | k | H4000 | t5000 | g5500 | k"
        << "1 @3000 | 3* @6000 | 3* @-1 | 3* @-1 | 3* @8500 | 0* @11500";
    QTest::newRow("hold: a text chosen after its acceptance time stays a full pace")
        << 0 << 0 << false << "s0 | p0 | r1 | k2 | H2500 | t3000 | p3500 | r3500 | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i1 @3000 | 0:i1 @-1 | 0:i1 @-1 | 0:i1 @-1 | "
           "0:i1 !1 @4500 | 0:i2 @5500";
    QTest::newRow("hold: a release wait called off keeps the rhythm")
        << 0 << 0 << false << "s0 | p0 | r1 | k | h1990 | g2020 | k | k"
        << "0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i0 @2000 | 0:i0 @-1 | 0:i0 @2030 | "
           "0:i1 @3030 | 0:i2 @4030";
    QTest::newRow("hold: row-column, a release just before a step chooses the lit row")
        << 0 << 0 << true << "s1 | p0 | r1 | k2 | h2990 | t3000 | p3020 | r3020 | k"
        << "1 @3000 | 1 +tab @1000 | 1 @1000 | 1:r1 @3000 | 1:r1 @-1 | 1:r1 @-1 | 1:r1 @-1 | "
           "1:r1:i3 +row @4020 | 1:r1:i4 @5020";
    QTest::newRow("hold: row-column, a release on the last item of its row chooses it")
        << 0 << 0 << true << "s1 | p0 | r1 | k2 | p3100 | r3100 | k | h5090 | t5100 | p5120 | r5120"
        << "1 @3000 | 1 +tab @1000 | 1 @1000 | 1:r1 @3000 | 1:r1 @3000 | 1:r1:i3 +row @4100 | "
           "1:r1:i4 @5100 | 1:r1:i4 @-1 | 1:r1:i4 @-1 | 1:r1:i4 @-1 | 1:r0 !4 @6120";
    QTest::newRow("row-column: a tab without rows is scanned one item at a time")
        << 0 << 0 << true << "s3 | p0 | r1 | k | k | p2100 | r2200"
        << "3 @3000 | 3 +tab @1000 | 3 @1000 | 3:i0 @2000 | 3:i1 @3000 | 3:i1 @3000 | "
           "3:i1 !1 @3000";
  }
  void story() {
    QFETCH(int, extraMs);
    QFETCH(int, loops);
    QFETCH(bool, rowColumn);
    QFETCH(QString, script);
    QFETCH(QString, expected);
    ScanSettings settings;
    settings.firstItemExtraMs = extraMs;
    settings.loopsBeforeBack = loops;
    settings.rowColumn = rowColumn;
    Scanner scanner(settings);
    scanner.setBoard(storyBoard());
    const QString got = run(scanner, script);
    QCOMPARE(got.split(QStringLiteral(" | ")), expected.split(QStringLiteral(" | ")));
  }

  void pageOfSuggestionsStartsAgainAtTheFirstItem() {
    // Linear scanning over a page whose first items change with each choice: after a choice the
    // first item is lit at once for a full pace.
    Scanner scanner;
    scanner.setBoard({ScanTab{true, 9, {}, true}});
    QCOMPARE(run(scanner, QStringLiteral("s0 | p0 | r1 | k3 | p3100 | r3200 | k")),
             QStringLiteral("0 @3000 | 0 +tab @1000 | 0 @1000 | 0:i2 @4000 | 0:i2 @4000 | "
                            "0:i0 !2 @4200 | 0:i1 @5200"));
  }

  void boardWithoutTabsScansNothing() {
    Scanner scanner;
    QCOMPARE(run(scanner, "s0 | k | p4000 | r4100"),
             QStringLiteral("-1 @3000 | -1 @6000 | -1 @6000 | -1 @6000"));
  }

  void rowsReshapedWhileScanningFollowThePage() {
    // The page is cut again while a row is scanned: the current item moves with its button
    // and the row is found anew; rows that no longer cover the page make the scan linear.
    ScanSettings settings;
    settings.rowColumn = true;
    Scanner scanner(settings);
    scanner.setBoard(storyBoard());
    run(scanner, "s1 | p0 | r1 | k2 | p2100 | r2200");
    QCOMPARE(scanner.view().item, 3);
    scanner.updateTab(1, ScanTab{true, 13, {{0, 3}, {3, 1}, {4, 9}}}, 4);
    QCOMPARE(scanner.view().row, 2);
    QCOMPARE(scanner.view().item, 4);
    scanner.updateTab(1, ScanTab{true, 13, {{0, 3}}}, -1);
    QCOMPARE(scanner.textMode(), Scanner::TextMode::Linear);
    QCOMPARE(scanner.tick(scanner.deadline()).view.item, 5);
  }
};

ORIVOX_TEST(ScannerTest)
#include "ScannerTest.moc"
