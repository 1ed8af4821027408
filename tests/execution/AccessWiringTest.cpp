// The window carries out the access modes: with two switches Space and Enter drive the board,
// the keypad does nothing and no timer runs; the key filter hands the keys back to the carer
// in creation mode.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QTest>

class AccessWiringTest : public QObject {
  Q_OBJECT
private slots:
  void twoSwitchesDriveTheWindow() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardSettings settings = f.view().settings();
    settings.accessMode = AccessMode::TwoSwitchStep;
    f.view().setSettings(settings);
    f.session().startScanning();
    const auto space = [] { MainFrameHarness::pressKey(Qt::Key_Space, Qt::NoModifier); };
    const auto enter = [] { MainFrameHarness::pressKey(Qt::Key_Return, Qt::NoModifier); };
    // The active tab is lit at once; Space moves over the tabs.
    QCOMPARE(f.view().tabBar()->highlighted(), f.view().currentIndex());
    for (int i = 0;
         i < f.view().pageCount() && f.view().activePage()->caption() != QStringLiteral("Alphabet");
         ++i)
      space();
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Alphabet"));
    QCOMPARE(f.view().tabBar()->highlighted(), f.view().currentIndex());
    enter();
    QVERIFY(!f.session().tabScanning());
    TOnglet* page = f.view().activePage();
    QCOMPARE(page->GetCurrentText(), QStringLiteral("a")); // the first text lit at once
    space();
    space();
    QCOMPARE(page->GetCurrentText(), QStringLiteral("c"));
    MainFrameHarness::pressSwitch(); // keypad 0: no switch of this mode
    QCOMPARE(page->GetCurrentText(), QStringLiteral("c"));
    QCOMPARE(f.session().display().text(), QString());
    enter();
    QCOMPARE(f.session().display().text(), QStringLiteral("C"));
    QCOMPARE(page->GetCurrentText(), QStringLiteral("c")); // the highlight stays on the choice
    QVERIFY(!f.session().tabTimer().isActive() && !f.session().textTimer().isActive());
    QTest::qWait(50);
    QCOMPARE(page->GetCurrentText(), QStringLiteral("c")); // nothing moves by itself

    // The carer's Space and Enter are theirs in creation mode.
    h.enterCreationMode();
    const QString before = f.session().display().text();
    space();
    enter();
    QCOMPARE(f.session().display().text(), before);
  }
};

ORIVOX_TEST(AccessWiringTest)
#include "AccessWiringTest.moc"
