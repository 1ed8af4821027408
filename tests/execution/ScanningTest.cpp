// The whole main window in execution mode, driven as the user drives it: keypad presses and
// releases go to the focused widget, the two scanning timers tick when the test says so.
#include "board/BoardView.h"
#include "board/DefaultBoard.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/AcceptanceBar.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {
// Tab-phase ticks until the active tab is `caption`, then the switch chooses it.
bool chooseTab(TMainFrame& f, const QString& caption) {
  for (int i = 0; i <= f.view().pageCount(); ++i) {
    if (f.view().activePage()->caption() == caption && f.view().tabBar()->highlighted() >= 0) {
      MainFrameHarness::pressSwitch();
      return !f.session().tabScanning();
    }
    f.session().TimerT1Timer();
  }
  return false;
}

void select(TMainFrame& f, const QString& text) {
  QVERIFY2(MainFrameHarness::stepTo(f, text), qPrintable(text));
  MainFrameHarness::pressSwitch();
}

QStringList diversTexts(TMainFrame& f) {
  f.view().diversTab()->JoinPieces();
  const QStringList texts = f.view().diversTab()->GetTexts();
  f.view().diversTab()->SplitAllTexts();
  return texts;
}
} // namespace

class ScanningTest : public QObject {
  Q_OBJECT
private slots:
  void spellValidateAddAndRing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QVERIFY(chooseTab(f, "Alphabet"));
    QVERIFY(f.session().textTimer().isActive());
    QVERIFY(!f.session().tabTimer().isActive());
    select(f, "b");
    select(f, "o");
    select(f, "n");
    QCOMPARE(f.session().display().text(), QStringLiteral("Bon")); // a capital: phrase start
    select(f, "ANNULATION");
    QCOMPARE(f.session().display().text(), QStringLiteral("Bo"));
    select(f, "n");
    select(f, " ");
    select(f, "VALIDATION");
    QCOMPARE(f.session().display().text(), QStringLiteral("Bon \n"));
    select(f, "o");
    select(f, "k");
    select(f, " ");
    select(f, "AJOUT");
    QCOMPARE(diversTexts(f), QStringList{"Ok"});
    QVERIFY(!f.document().saved());
    select(f, "SONNERIE");
    const QList<QPair<int, int>> bell = {{500, 500}, {250, 500}, {500, 500},
                                         {250, 500}, {500, 500}, {250, 500}};
    QCOMPARE(h.fakes.tones.played, bell);
    QCOMPARE(f.session().display().text(), QStringLiteral("Bon \nOk \n"));
    select(f, "RETOUR");
    QVERIFY(f.session().tabScanning());
    QVERIFY(f.session().tabTimer().isActive());
    QVERIFY(!f.session().textTimer().isActive());
  }

  void wordsOnAnOrdinaryTabGetASpace() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().diversTab()->AddText(true, "Je", false);
    QVERIFY(chooseTab(f, "Divers"));
    select(f, "Je");
    QCOMPARE(f.session().display().text(), QStringLiteral("Je "));
    QCOMPARE((&f.session().phrase())->FEnteredTexts, QStringList{"Je "});
  }

  void tabPhaseWalksCyclicallyFromTheActiveTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QCOMPARE(f.view().pageControl()->currentIndex(), 2); // the last tab made
    QCOMPARE(f.view().tabBar()->highlighted(), -1);      // not highlighted before the first tick
    f.session().TimerT1Timer();
    QCOMPARE(f.view().pageControl()->currentIndex(), 0);
    QCOMPARE(f.view().tabBar()->highlighted(), 0);
    QVERIFY(f.focusHolder()->hasFocus());
    f.session().TimerT1Timer();
    f.session().TimerT1Timer();
    QCOMPARE(f.view().pageControl()->currentIndex(), 2);
    QCOMPARE(f.view().tabBar()->highlighted(), 2);
  }

  void cycleOverTextsThenReservedButtons() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().diversTab()->AddText(true, "un", false);
    f.view().diversTab()->AddText(true, "deux", false);
    QVERIFY(chooseTab(f, "Divers"));
    QStringList seen;
    for (int i = 0; i < 10; ++i) {
      f.session().TimerT2Timer();
      seen << f.view().activePage()->GetCurrentText();
    }
    QCOMPARE(seen, (QStringList{"un", "deux", "ANNULATION", "SUPPRESSION", "VALIDATION", "AJOUT",
                                "CLEAR", "RETOUR", "SONNERIE", "un"}));
  }

  void releaseOfThePressThatChoseTheTabSelectsNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.session().TimerT1Timer();
    f.session().TimerT1Timer(); // "Alphabet"
    MainFrameHarness::keyDown(Qt::Key_0);
    MainFrameHarness::keyUp(Qt::Key_0);
    MainFrameHarness::pressSwitch(); // a second quick press, still before the first text tick
    QVERIFY(!f.session().tabScanning());
    QCOMPARE(f.session().display().text(), QString());
    f.session().TimerT2Timer();
    QCOMPARE(f.view().activePage()->GetCurrentText(), QStringLiteral("a"));
  }

  void retourResumesWithTheNextTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QVERIFY(chooseTab(f, "Divers"));
    select(f, "RETOUR");
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Divers"));
    f.session().TimerT1Timer();
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Alphabet"));
  }

  void theSwitchActsOnWhatWasLit() {
    // Whatever the timers do while the switch is let go, whatever keys the hand covers and
    // wherever a release goes, one press acts once, on what was lit.
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().diversTab()->AddText(true, "Je", false);
    f.view().diversTab()->AddText(true, "veux", false);
    QVERIFY(chooseTab(f, "Divers"));
    QVERIFY(MainFrameHarness::stepTo(f, "Je"));
    // A step falls due while the release is being told from an auto-repeat: the page holds.
    MainFrameHarness::keyDown(Qt::Key_0);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_0, Qt::KeypadModifier);
    QVERIFY(!f.session().textTimer().isActive());
    f.session().TimerT2Timer();
    (&f.session().switchFilter())->flush();
    QCOMPARE(f.session().display().text(), QStringLiteral("Je "));
    QVERIFY(f.session().textTimer().isActive());
    // Keypad 0 and Enter under one palm.
    QVERIFY(MainFrameHarness::stepTo(f, "veux"));
    MainFrameHarness::keyDown(Qt::Key_0);
    MainFrameHarness::keyDown(Qt::Key_Enter);
    MainFrameHarness::keyUp(Qt::Key_0);
    MainFrameHarness::keyUp(Qt::Key_Enter);
    QCOMPARE(f.session().display().text(), QStringLiteral("Je veux "));
    // Held while another window takes the keyboard, let go there: the next press acts.
    MainFrameHarness::keyDown(Qt::Key_0);
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QCoreApplication::processEvents();
    h.reactivate();
    QVERIFY(MainFrameHarness::stepTo(f, "Je"));
    MainFrameHarness::pressKey(Qt::Key_1);
    QCOMPARE(f.session().display().text(), QStringLiteral("Je veux Je "));
  }

  void otherKeysAreNotTheSwitch() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.session().TimerT1Timer();
    MainFrameHarness::pressKey(Qt::Key_Clear); // keypad 5 with Num Lock off
    MainFrameHarness::pressKey(Qt::Key_A, Qt::NoModifier);
    QVERIFY(f.session().tabScanning());
    MainFrameHarness::pressKey(Qt::Key_PageDown); // keypad 3 with Num Lock off
    QVERIFY(!f.session().tabScanning());
  }

  void switchDoesNothingInCreationMode() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().diversTab()->AddText(true, "Je", false);
    h.enterCreationMode();
    f.view().pageControl()->setCurrentIndex(0);
    f.session().setTabScanning(false);
    f.view().diversTab()->setCurrentIndex(0);
    f.view().diversTab()->buttonAt(0)->setFocus();
    MainFrameHarness::pressSwitch();
    QCOMPARE(f.session().display().text(), QString());
    QVERIFY(!f.session().tabTimer().isActive());
    QVERIFY(!f.session().textTimer().isActive());
  }

  void boardWithoutTabs() {
    MainFrameHarness h(false);
    TMainFrame& f = h.frame();
    f.session().TimerT1Timer();
    MainFrameHarness::pressSwitch();
    QVERIFY(f.session().tabScanning());
    QVERIFY(!f.session().textTimer().isActive());
  }

  void ajoutWithoutDiversMakesTheTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    f.view().pageControl()->setCurrentIndex(0);
    f.panel().BtnSupprOnglClick(); // refused: reserved
    QCOMPARE(f.view().pageCount(), 3);
    delete f.view().diversTab(); // a loaded board may lack "Divers"
    QVERIFY(!f.view().diversTab());
    QVERIFY(chooseTab(f, "Alphabet"));
    select(f, "o");
    select(f, "k");
    select(f, " ");
    select(f, "AJOUT");
    QVERIFY(f.view().diversTab());
    QCOMPARE(f.view().pages().last(), f.view().diversTab());
    QCOMPARE(diversTexts(f), QStringList{"Ok"});
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Alphabet"));
  }

  void boardSettingsReachTheScan() {
    // A board asking for a grid of 6 columns, row-column scanning, one loop before going back
    // and an acceptance time: the window's scan follows them.
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardSettings settings = f.view().settings();
    settings.gridColumns = 6;
    settings.rowColumn = true;
    settings.loopsBeforeBack = 1;
    settings.acceptanceMs = 300;
    f.view().setSettings(settings);
    f.session().startScanning();
    f.session().TimerT1Timer();
    f.session().TimerT1Timer(); // "Alphabet" lit
    // A brush of the switch is no press; a held one is shown filling, then chooses.
    MainFrameHarness::pressSwitch();
    QVERIFY(f.session().tabScanning());
    MainFrameHarness::keyDown(Qt::Key_0);
    QVERIFY(f.session().acceptanceBar()->isVisible());
    QTest::qWait(350);
    QVERIFY(!f.session().tabScanning());
    QVERIFY(!f.session().acceptanceBar()->isVisible());
    MainFrameHarness::keyUp(Qt::Key_0);
    TOnglet* page = f.view().activePage();
    QCOMPARE(page->caption(), QStringLiteral("Alphabet"));
    const auto lit = [&](int i) {
      return page->buttonAt(i)->boardFont() == f.view().selectedFont();
    };
    f.session().TimerT2Timer(); // the first row: a to f
    QVERIFY(lit(0) && lit(5) && !lit(6));
    f.session().TimerT2Timer(); // the second row: g to l
    QVERIFY(!lit(0) && lit(6) && lit(11) && !lit(12));
    const auto hold = [&f] {
      MainFrameHarness::keyDown(Qt::Key_0);
      QVERIFY(!f.session()
                   .textTimer()
                   .isActive()); // the lit row or text holds still while it is accepted
      QTest::qWait(350);
      MainFrameHarness::keyUp(Qt::Key_0);
    };
    // The bar fills under the whole row being accepted, not under one of its texts.
    const auto inWindow = [&f](QWidget* w) { return QRect(w->mapTo(&f, QPoint()), w->size()); };
    MainFrameHarness::keyDown(Qt::Key_0);
    const QRect bar = inWindow(f.session().acceptanceBar());
    QVERIFY(bar.left() <= inWindow(page->buttonAt(6)).left() &&
            bar.right() >= inWindow(page->buttonAt(11)).right());
    QTest::qWait(350);
    MainFrameHarness::keyUp(Qt::Key_0); // chooses the row: its first text is current
    QCOMPARE(page->GetCurrentText(), QStringLiteral("g"));
    f.session().TimerT2Timer();
    QCOMPARE(page->GetCurrentText(), QStringLiteral("h"));
    hold();
    QCOMPARE(f.session().display().text(), QStringLiteral("H"));
    QVERIFY(lit(0) && lit(5)); // after a choice the scan starts again at the first row
    for (int i = 0; i < int(page->layoutRows().size()) && !f.session().tabScanning(); ++i)
      f.session().TimerT2Timer();
    QVERIFY(
        f.session().tabScanning()); // a whole loop over the rows without a choice: back to the tabs
  }

  void acceptanceBarUnderARowAfterTheSuggestions() {
    // Rows count the suggested words before the buttons: the bar lies under the row lit.
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.predictor.answers = {{"", {"Je", "Il"}}};
    BoardSettings settings = f.view().settings();
    settings.prediction = true;
    settings.gridColumns = 6;
    settings.rowColumn = true;
    settings.acceptanceMs = 300;
    f.view().setSettings(settings);
    f.session().startScanning();
    QCoreApplication::processEvents();
    f.session().TimerT1Timer();
    f.session().TimerT1Timer(); // "Alphabet" lit
    MainFrameHarness::keyDown(Qt::Key_0);
    QTest::qWait(350);
    MainFrameHarness::keyUp(Qt::Key_0);
    TOnglet* page = f.view().activePage();
    QCOMPARE(page->caption(), QStringLiteral("Alphabet"));
    QVERIFY(page->suggestionCount() > 0);
    f.session().TimerT2Timer(); // the suggested words
    f.session().TimerT2Timer(); // the first row of letters: a to f
    QCOMPARE(page->buttonAt(0)->boardFont(), f.view().selectedFont());
    const auto inWindow = [&f](QWidget* w) { return QRect(w->mapTo(&f, QPoint()), w->size()); };
    MainFrameHarness::keyDown(Qt::Key_0);
    const QRect bar = inWindow(f.session().acceptanceBar());
    QVERIFY(bar.left() <= inWindow(page->buttonAt(0)).left() &&
            bar.right() >= inWindow(page->buttonAt(5)).right());
    QCOMPARE(bar.bottom(), inWindow(page->buttonAt(0)).bottom()); // within the row, at its foot
    QTest::qWait(350);
    MainFrameHarness::keyUp(Qt::Key_0);
  }

  void suggestedWordsOnTheLetterPages() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* alphabet = f.view().pageNamed("Alphabet");
    // Prediction off: the board as ever, and the predictor never asked.
    QCOMPARE(alphabet->suggestionCount(), 0);
    QVERIFY(h.predictor.requests.isEmpty());

    h.predictor.answers = {{"", {"Je", "Il"}},
                           {"B", {"bien", "bon"}},
                           {"Bo", {"bonjour", "bon", "bonne"}},
                           {"Bonjour ", {"madame", "monsieur"}}};
    f.view().diversTab()->AddText(true, QStringLiteral("Bonne nuit"), false);
    BoardSettings settings = f.view().settings();
    settings.prediction = true;
    f.view().setSettings(settings);
    f.session().startScanning();
    QCoreApplication::processEvents(); // the answer for the empty display
    QCOMPARE(alphabet->suggestions(), QStringList({"Je", "Il", "", "", ""}));
    QCOMPARE(f.view().diversTab()->suggestionCount(), 0);
    const ScanTab shape = f.session().scanShape(alphabet);
    QCOMPARE(shape.itemCount, alphabet->GetButtonCount() + 5);
    QVERIFY(shape.restartAfterChoice);
    QCOMPARE(shape.rows.front(), (ScanRow{0, 5})); // a row of their own, first
    QCOMPARE(shape.rows.at(1).first, 5);

    QVERIFY(chooseTab(f, "Alphabet"));
    select(f, "b");
    // The scan starts again at the suggestions; the answer renames the one lit, which stays lit.
    QCOMPARE(alphabet->currentIndex(), 0);
    QCoreApplication::processEvents();
    QCOMPARE(alphabet->GetCurrentText(), QStringLiteral("bien"));
    QCOMPARE(alphabet->itemButton(0)->boardFont(), f.view().selectedFont());
    select(f, "o");
    QCoreApplication::processEvents();
    emit h.predictor.suggestions(1, {"vieux"}); // an answer overtaken by later letters
    QCOMPARE(alphabet->suggestions().first(), QStringLiteral("bonjour"));
    select(f, "bonjour");
    QCOMPARE(f.session().display().text(), QStringLiteral("Bonjour "));
    QCoreApplication::processEvents();
    QCOMPARE(alphabet->suggestions().mid(0, 2), QStringList({"madame", "monsieur"}));
    select(f, "ANNULATION"); // the whole word, letters and suggestion alike
    QCOMPARE(f.session().display().text(), QString());
    QCoreApplication::processEvents();
    select(f, QString()); // an empty slot writes nothing
    QCOMPARE(f.session().display().text(), QString());
    select(f, "Je");
    select(f, "VALIDATION");
    QCOMPARE(f.session().display().text(), QStringLiteral("Je \n"));
    QCOMPARE(h.predictor.learnt, QStringList({"Bonne nuit", "Je "}));
    // Never part of the board's texts.
    QCOMPARE(f.view().boardData().tabs.at(1).texts, defaultboard::alphabetTexts());

    // The carer's choice about words let go by reaches the predictor.
    QVERIFY(!h.predictor.replacePassedOver);
    settings.replacePassedOver = true;
    f.view().setSettings(settings);
    f.session().startScanning();
    QVERIFY(h.predictor.replacePassedOver);

    // None while the carer edits; back in execution the board's texts are not taught twice.
    h.enterCreationMode();
    QCOMPARE(alphabet->suggestionCount(), 0);
    h.enterExecutionMode();
    QCOMPARE(alphabet->suggestionCount(), 5);
    QCOMPARE(h.predictor.learnt, QStringList({"Bonne nuit", "Je "}));
    // A model found damaged once opened: the suggestions go, the letters stay.
    h.predictor.currentStatus = WordPredictor::Status::ModelDamaged;
    emit h.predictor.statusChanged(h.predictor.currentStatus);
    QCOMPARE(alphabet->suggestionCount(), 0);
    QCOMPARE(f.session().scanShape(alphabet).itemCount, alphabet->GetButtonCount());
  }
};

ORIVOX_TEST(ScanningTest)
#include "ScanningTest.moc"
