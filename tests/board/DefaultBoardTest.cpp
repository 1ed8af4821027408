// The default board a first start and "Nouveau fichier" build: its three tabs and their texts,
// its fonts and button height, and what a second "Nouveau fichier" leaves of an edited board.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace {

QStringList captionsOf(TMainFrame& f) {
  return MainFrameHarness::tabCaptions(f);
}

QStringList shownTabTexts(TMainFrame& f) {
  QStringList c;
  for (int i = 0; i < f.view().pageControl()->count(); ++i)
    c << f.view().pageControl()->tabText(i);
  return c;
}

QStringList alphabet() {
  QStringList l;
  for (char c = 'a'; c <= 'z'; ++c)
    l << QString(QLatin1Char(c));
  return l << " ";
}

QStringList otherCharacters() {
  return {"0", "1", "2", "3", "4", "5",  "6", "7", "8", "9", "+", "-", "*", "/", ".",
          ",", ";", ":", "!", "?", "\"", "(", ")", "é", "è", "ç", "à", "ù", "@", " "};
}

} // namespace

class DefaultBoardTest : public QObject {
  Q_OBJECT
private slots:
  void threeReservedTabsWithTheirTexts() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QStringList tabs{"Divers", "Alphabet", "Autres caractères"};
    QCOMPARE(captionsOf(f), tabs);
    QCOMPARE(shownTabTexts(f), tabs);
    QCOMPARE(f.view().pages().at(0)->GetTexts(), QStringList());
    QCOMPARE(f.view().pages().at(1)->GetTexts(), alphabet());
    QCOMPARE(f.view().pages().at(2)->GetTexts(), otherCharacters());
    QCOMPARE(f.view().pages().at(1)->GetTexts().size(), 27);
    QCOMPARE(f.view().pages().at(2)->GetTexts().size(), 30);
    QCOMPARE(f.view().diversTab(), f.view().pages().at(0));
    QCOMPARE(f.view().pageNamed(QStringLiteral("Alphabet")), f.view().pages().at(1));
    QCOMPARE(f.view().pageNamed(QStringLiteral("Autres caractères")), f.view().pages().at(2));
    // Each text is one button; the space is an ordinary text showing one space.
    for (TOnglet* p : f.view().pages()) {
      QCOMPARE(p->textButtonCount(), p->GetTexts().size());
      QCOMPARE(p->GetButtonCount(), p->textButtonCount() + 7);
    }
    TTextButton* space = f.view().pageNamed(QStringLiteral("Alphabet"))->buttonAt(26);
    QCOMPARE(space->caption(), QStringLiteral(" "));
    QVERIFY(!space->isReserved());
    QCOMPARE(f.view().pageNamed(QStringLiteral("Autres caractères"))->buttonAt(29)->caption(),
             QStringLiteral(" "));
  }

  void boardStateAfterwards() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QCOMPARE(f.view().activePage(), f.view().pageNamed(QStringLiteral("Autres caractères")));
    QCOMPARE(f.panel().EdtNomOnglet->text(), QStringLiteral("Autres caractères"));
    QVERIFY(!f.panel().EdtNomOnglet->isEnabled());
    QVERIFY(f.document().saved());
    QCOMPARE(f.view().tabCounter(), 1);
    QVERIFY(f.document().fileName().isEmpty());
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
  }

  void fontsAndButtonHeight() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardFont selected;
    selected.color = clRed;
    BoardFont unselected;
    unselected.color = clNavy;
    QCOMPARE(f.view().selectedFont(), selected);
    QCOMPARE(f.view().unselectedFont(), unselected);
    QCOMPARE(f.view().selectedFont().name, QStringLiteral("Arial"));
    QCOMPARE(f.view().selectedFont().size, 8);
    QCOMPARE(f.view().validatedFont().name, QStringLiteral("Arial"));
    QCOMPARE(f.view().currentPhraseFont().name, QStringLiteral("Arial"));
    // A line of 8 points is 16 pixels high with the fixed-width measurer.
    QCOMPARE(f.view().buttonHeight(), 16 + 6);
    for (TOnglet* p : f.view().pages())
      for (TTextButton* b : p->buttons()) {
        QCOMPARE(b->height(), 22);
        QCOMPARE(b->boardFont(), f.view().unselectedFont());
      }
  }

  void nextAddedTabIsOnglet1() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOnglClick();
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Onglet1"));
    f.panel().BtnAjoutOnglClick();
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Onglet2"));
  }

  void newBoardTwiceForgetsTheEditsInBetween() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.view().pageControl()->setCurrentIndex(0);
    f.panel().BtnAjoutTexteClick();
    f.panel().BtnAjoutTexteClick();
    f.panel().BtnAjoutOnglClick();
    f.panel().BtnAjoutOnglClick();
    const BoardLook before = f.view().look();
    BoardLook look = before;
    look.selected.size = 20;
    look.unselected.bold = true;
    look.tabColor = clGreen;
    f.view().setLook(look, before);
    f.document().setFileName(h.path("x.ord"));
    f.panel().EdtT1->setValue(7);
    QVERIFY(!f.document().saved());

    f.BtnNouveauClick();
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));
    QCOMPARE(f.view().pages().at(0)->GetTexts(), QStringList());
    QCOMPARE(f.view().pages().at(1)->GetTexts(), alphabet());
    QCOMPARE(f.view().pages().at(2)->GetTexts(), otherCharacters());
    QVERIFY(!f.view().currentText()); // the chosen text went with its board
    QCOMPARE(f.view().selectedFont().size, 8);
    QVERIFY(!f.view().unselectedFont().bold);
    QCOMPARE(f.view().buttonHeight(), 22);
    QVERIFY(f.document().fileName().isEmpty());
    QVERIFY(f.document().saved());
    QCOMPARE(f.view().tabCounter(), 1);
    QVERIFY(!f.panel().EdtNomOnglet->isEnabled());
    // Left as they were: the page colour and the paces.
    QCOMPARE(f.view().tabColor(), clGreen);
    for (TOnglet* p : f.view().pages())
      QCOMPARE(p->GetBackgroundColor(), clGreen);
    QCOMPARE(f.panel().EdtT1->value(), 7);
  }

  void newBoardWhileEditingShowsTheEditingLook() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.BtnNouveauClick();
    for (TOnglet* p : f.view().pages()) {
      for (int i = 0; i < p->GetButtonCount(); ++i) {
        TTextButton* b = p->buttonAt(i);
        QCOMPARE(!b->isShownOnPage(), i >= p->textButtonCount()); // reserved buttons hidden
        if (i < p->textButtonCount())
          QCOMPARE(b->boardFont(), f.view().selectedFont()); // the preview is on
      }
    }
    // The letters cannot be chosen for editing, as after entering creation mode.
    QVERIFY(!f.view().pageNamed(QStringLiteral("Alphabet"))->buttonAt(0)->isEnabled());
    QVERIFY(!f.view().pageNamed(QStringLiteral("Autres caractères"))->buttonAt(23)->isEnabled());
  }
};

ORIVOX_TEST(DefaultBoardTest)
#include "DefaultBoardTest.moc"
