// The default board a first start and "Nouveau fichier" build: its three tabs and their texts,
// its fonts and button height, and what a second "Nouveau fichier" leaves of an edited board.
#include "board/TOnglet.h"
#include "shell/TMainFrame.h"
#include "shell/TPageControl.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace {

QStringList captionsOf(TMainFrame& f) { return MainFrameHarness::tabCaptions(f); }

QStringList shownTabTexts(TMainFrame& f) {
  QStringList c;
  for (int i = 0; i < f.PageControl->count(); ++i)
    c << f.PageControl->tabText(i);
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
    QCOMPARE(f.pages().at(0)->GetTexts(), QStringList());
    QCOMPARE(f.pages().at(1)->GetTexts(), alphabet());
    QCOMPARE(f.pages().at(2)->GetTexts(), otherCharacters());
    QCOMPARE(f.pages().at(1)->GetTexts().size(), 27);
    QCOMPARE(f.pages().at(2)->GetTexts().size(), 30);
    QCOMPARE(f.FDiversTab.data(), f.pages().at(0));
    QCOMPARE(f.FAlphabetTab.data(), f.pages().at(1));
    QCOMPARE(f.FOtherCharsTab.data(), f.pages().at(2));
    // Each text is one button; the space is an ordinary text showing one space.
    for (TOnglet* p : f.pages()) {
      QCOMPARE(p->textButtonCount(), p->GetTexts().size());
      QCOMPARE(p->GetButtonCount(), p->textButtonCount() + 7);
    }
    TTextButton* space = f.FAlphabetTab->FButtons[26];
    QCOMPARE(space->caption(), QStringLiteral(" "));
    QVERIFY(!space->isReserved);
    QCOMPARE(f.FOtherCharsTab->FButtons[29]->caption(), QStringLiteral(" "));
  }

  void boardStateAfterwards() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QCOMPARE(f.activePage(), f.FOtherCharsTab.data());
    QCOMPARE(f.EdtNomOnglet->text(), QStringLiteral("Autres caractères"));
    QVERIFY(!f.EdtNomOnglet->isEnabled());
    QVERIFY(f.FSaved);
    QCOMPARE(f.FTabCounter, 1);
    QVERIFY(f.FFileName.isEmpty());
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
  }

  void fontsAndButtonHeight() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    BoardFont selected;
    selected.color = clRed;
    BoardFont unselected;
    unselected.color = clNavy;
    QCOMPARE(f.FSelectedFont, selected);
    QCOMPARE(f.FUnselectedFont, unselected);
    QCOMPARE(f.FSelectedFont.name, QStringLiteral("Arial"));
    QCOMPARE(f.FSelectedFont.size, 8);
    QCOMPARE(f.FValidatedFont.name, QStringLiteral("Arial"));
    QCOMPARE(f.FCurrentPhraseFont.name, QStringLiteral("Arial"));
    // A line of 8 points is 16 pixels high with the fixed-width measurer.
    QCOMPARE(f.FButtonHeight, 16 + 6);
    for (TOnglet* p : f.pages())
      for (TTextButton* b : p->FButtons) {
        QCOMPARE(b->height(), 22);
        QCOMPARE(b->boardFont(), f.FUnselectedFont);
      }
  }

  void nextAddedTabIsOnglet1() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.BtnAjoutOnglClick();
    QCOMPARE(f.activePage()->caption(), QStringLiteral("Onglet1"));
    f.BtnAjoutOnglClick();
    QCOMPARE(f.activePage()->caption(), QStringLiteral("Onglet2"));
  }

  void newBoardTwiceForgetsTheEditsInBetween() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.PageControl->setCurrentIndex(0);
    f.BtnAjoutTexteClick();
    f.BtnAjoutTexteClick();
    f.BtnAjoutOnglClick();
    f.BtnAjoutOnglClick();
    f.FSelectedFont.size = 20;
    f.FUnselectedFont.bold = true;
    f.FFileName = h.path("x.ord");
    f.FTabColor = clGreen;
    f.EdtT1->setValue(7);
    QVERIFY(!f.FSaved);

    f.BtnNouveauClick();
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));
    QCOMPARE(f.pages().at(0)->GetTexts(), QStringList());
    QCOMPARE(f.pages().at(1)->GetTexts(), alphabet());
    QCOMPARE(f.pages().at(2)->GetTexts(), otherCharacters());
    QVERIFY(!f.FCurrentText); // the chosen text went with its board
    QCOMPARE(f.FSelectedFont.size, 8);
    QVERIFY(!f.FUnselectedFont.bold);
    QCOMPARE(f.FButtonHeight, 22);
    QVERIFY(f.FFileName.isEmpty());
    QVERIFY(f.FSaved);
    QCOMPARE(f.FTabCounter, 1);
    QVERIFY(!f.EdtNomOnglet->isEnabled());
    // Left as they were: the page colour and the paces.
    QCOMPARE(f.FTabColor, clGreen);
    for (TOnglet* p : f.pages())
      QCOMPARE(p->GetBackgroundColor(), clGreen);
    QCOMPARE(f.EdtT1->value(), 7);
  }

  void newBoardWhileEditingShowsTheEditingLook() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.BtnNouveauClick();
    for (TOnglet* p : f.pages()) {
      for (int i = 0; i < p->GetButtonCount(); ++i) {
        TTextButton* b = p->FButtons[size_t(i)];
        QCOMPARE(!b->isShownOnPage(), i >= p->textButtonCount()); // reserved buttons hidden
        if (i < p->textButtonCount())
          QCOMPARE(b->boardFont(), f.FSelectedFont); // the preview is on
      }
    }
    // The letters cannot be chosen for editing, as after entering creation mode.
    QVERIFY(!f.FAlphabetTab->FButtons[0]->isEnabled());
    QVERIFY(!f.FOtherCharsTab->FButtons[23]->isEnabled());
  }
};

ORIVOX_TEST(DefaultBoardTest)
#include "DefaultBoardTest.moc"
