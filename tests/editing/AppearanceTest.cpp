// The appearance buttons of the creation panel, each answered through the dialog as a carer
// would, the preview toggle and the re-layout after the splitter moves.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "editing/TFormFont.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTest>
#include <QTextEdit>

namespace {

// Everything an appearance command may change.
struct Look {
  BoardFont selected, unselected, tabs, validated, phrase;
  TColor tabColor, memoColor;
  QList<TColor> pageColors;
  int buttonHeight;
  bool saved;
  bool operator==(const Look& o) const {
    return selected == o.selected && unselected == o.unselected && tabs == o.tabs &&
           validated == o.validated && phrase == o.phrase && tabColor == o.tabColor &&
           memoColor == o.memoColor && pageColors == o.pageColors &&
           buttonHeight == o.buttonHeight && saved == o.saved;
  }
};

Look lookOf(TMainFrame& f) {
  Look l{f.view().selectedFont(),      f.view().unselectedFont(),
         f.view().tabFont(),           f.view().validatedFont(),
         f.view().currentPhraseFont(), f.view().tabColor(),
         f.view().memoColor(),         {},
         f.view().buttonHeight(),      f.document().saved()};
  for (TOnglet* p : f.view().pages())
    l.pageColors << p->GetBackgroundColor();
  return l;
}

QPushButton* targetButton(TMainFrame& f, const QString& name) {
  return f.findChild<QPushButton*>(name);
}

// The carer sets 20 points, bold, a text colour and a background colour, then clicks OK or
// Annuler. The chooser's colours are taken only where the dialog shows their row.
void answerDialog(MainFrameHarness& h, int size, bool accept, TColor text = clGreen,
                  TColor back = 0x00FFFF) {
  FakeColorChooser* chooser = &h.fakes.colorChooser;
  MainFrameHarness::whenModal([=](QWidget* w) {
    auto* d = qobject_cast<TFormFont*>(w);
    QVERIFY(d);
    d->SpinEditTailleP->setValue(size);
    d->CheckBoxGras->setChecked(true);
    if (d->ButtonChoixCoulP->isVisible()) {
      chooser->replies = {text};
      d->ButtonChoixCoulP->click();
    }
    if (d->BtnCoulFond->isVisible()) {
      chooser->replies = {back};
      d->BtnCoulFond->click();
    }
    (accept ? d->BitBtnOK : d->BitBtnAnnuler)->click();
  });
}

} // namespace

class AppearanceTest : public QObject {
  Q_OBJECT
private slots:
  void eachTarget_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("accept");
    for (const char* b :
         {"BtnVisuSelec", "BtnVisuNonSelec", "BtnVisuOnglet", "BtnVisuAff", "BtnVisuAff2"}) {
      QTest::newRow(qPrintable(QStringLiteral("%1 OK").arg(b))) << QString::fromLatin1(b) << true;
      QTest::newRow(qPrintable(QStringLiteral("%1 Annuler").arg(b)))
          << QString::fromLatin1(b) << false;
    }
  }
  void eachTarget() {
    QFETCH(QString, button);
    QFETCH(bool, accept);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    const Look before = lookOf(f);
    answerDialog(h, 12, accept);
    targetButton(f, button)->click();
    QVERIFY(!f.panel().FormFont->isVisible());
    Look after = lookOf(f);
    if (!accept) {
      QVERIFY(after == before);
      return;
    }
    Look expected = before;
    expected.saved = false;
    BoardFont* font = nullptr;
    if (button == "BtnVisuSelec") {
      font = &expected.selected;
      expected.buttonHeight = 2 * 12 + 6; // the larger text font sets the height
    } else if (button == "BtnVisuNonSelec") {
      font = &expected.unselected;
      expected.buttonHeight = 2 * 12 + 6;
    } else if (button == "BtnVisuOnglet") {
      font = &expected.tabs; // no text colour row: the tab captions keep theirs
      expected.tabColor = 0x00FFFF;
      for (TColor& c : expected.pageColors)
        c = 0x00FFFF;
    } else {
      font = button == "BtnVisuAff" ? &expected.validated : &expected.phrase;
      expected.memoColor = 0x00FFFF;
    }
    font->size = 12;
    font->bold = true;
    if (button != "BtnVisuOnglet")
      font->color = clGreen;
    QCOMPARE(after.selected, expected.selected);
    QCOMPARE(after.unselected, expected.unselected);
    QCOMPARE(after.tabs, expected.tabs);
    QCOMPARE(after.validated, expected.validated);
    QCOMPARE(after.phrase, expected.phrase);
    QVERIFY(after == expected);
    // One step of the edit history, back and forth, button heights and page colours included.
    f.panel().BtnAnnulerEdition->click();
    QVERIFY(lookOf(f) == before);
    f.panel().BtnRetablirEdition->click();
    QVERIFY(lookOf(f) == after);
  }

  void textFontsReachTheButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("preview");
    QTest::newRow("selected, preview on") << "BtnVisuSelec" << true;
    QTest::newRow("selected, preview off") << "BtnVisuSelec" << false;
    QTest::newRow("unselected, preview on") << "BtnVisuNonSelec" << true;
    QTest::newRow("unselected, preview off") << "BtnVisuNonSelec" << false;
  }
  void textFontsReachTheButtons() {
    QFETCH(QString, button);
    QFETCH(bool, preview);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    if (!preview)
      f.panel().BitBtnTtAffClick();
    answerDialog(h, 20, true);
    targetButton(f, button)->click();
    // A line of 20 points is 40 pixels: every button, reserved ones included, is 46 high.
    QCOMPARE(f.view().buttonHeight(), 46);
    const BoardFont& shown = preview ? f.view().selectedFont() : f.view().unselectedFont();
    for (TOnglet* p : f.view().pages()) {
      for (int i = 0; i < p->GetButtonCount(); ++i) {
        TTextButton* b = p->buttonAt(i);
        QCOMPARE(b->height(), 46);
        if (i < p->textButtonCount())
          QCOMPARE(b->boardFont(), shown);
      }
    }
    // The pages are laid out again for the taller buttons: none overlaps the next row.
    TOnglet* letters = f.view().pageNamed(QStringLiteral("Alphabet"));
    for (int i = 1; i < letters->textButtonCount(); ++i) {
      const QRect a = letters->buttonAt(i - 1)->geometry();
      const QRect b = letters->buttonAt(i)->geometry();
      QVERIFY(!a.intersects(b));
    }
    // Back in execution mode the reserved buttons keep that height.
    h.enterExecutionMode();
    for (TOnglet* p : f.view().pages())
      for (TTextButton* b : p->buttons())
        QCOMPARE(b->height(), 46);
  }

  void smallerSelectedFontKeepsTheHeightOfTheOther() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    answerDialog(h, 14, true);
    f.panel().BtnVisuNonSelec->click();
    answerDialog(h, 10, true);
    f.panel().BtnVisuSelec->click();
    QCOMPARE(f.view().buttonHeight(), 2 * 14 + 6);
  }

  void tabDialogStartsFromTheActivePageColour() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.view().activePage()->SetBackgroundColor(clMaroon); // only this page
    answerDialog(h, 9, true);
    f.panel().BtnVisuOnglet->click();
    QCOMPARE(h.fakes.colorChooser.offered, QList<TColor>{clMaroon});
    for (TOnglet* p : f.view().pages())
      QCOMPARE(p->GetBackgroundColor(), 0x00FFFF);
    QCOMPARE(f.view().pageControl()->font().pointSize(), 9);
    QVERIFY(f.view().pageControl()->font().bold());
  }

  void displayAreaHasOneBackground() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    answerDialog(h, 16, true, clRed, 0x00FFFF);
    f.panel().BtnVisuAff2->click();
    QCOMPARE(f.session().display().widget()->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCOMPARE(f.logoPanel()->palette().color(QPalette::Window), QColor(255, 255, 0));
    QCOMPARE(f.view().currentPhraseFont().size, 16);
    QCOMPARE(f.view().validatedFont().size, 8);
    // "Phrases validées" opens on that same background, and changes it for both.
    answerDialog(h, 8, true, clRed, clWhite);
    f.panel().BtnVisuAff->click();
    QCOMPARE(h.fakes.colorChooser.offered.last(), TColor(0x00FFFF));
    QCOMPARE(f.session().display().widget()->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(f.logoPanel()->palette().color(QPalette::Window), QColor(Qt::white));
  }

  void previewToggleTwiceRestoresTheLook() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.document().setSaved(true);
    TTextButton* chosen = f.view().currentText();
    auto fonts = [&f] {
      QList<BoardFont> l;
      for (TOnglet* p : f.view().pages())
        for (int i = 0; i < p->textButtonCount(); ++i)
          l << p->buttonAt(i)->boardFont();
      return l;
    };
    const QList<BoardFont> start = fonts();
    const QString caption = f.panel().BitBtnTtAff->text();
    QCOMPARE(caption, QStringLiteral("Désélectionner les textes"));
    f.panel().BitBtnTtAff->click();
    QCOMPARE(f.panel().BitBtnTtAff->text(), QStringLiteral("Sélectionner les textes"));
    QVERIFY(!f.view().allSelected());
    for (const BoardFont& b : fonts())
      QCOMPARE(b, f.view().unselectedFont());
    f.panel().BitBtnTtAff->click();
    QCOMPARE(f.panel().BitBtnTtAff->text(), caption);
    QCOMPARE(fonts(), start);
    QVERIFY(f.document().saved());
    QCOMPARE(f.view().currentText(), chosen);
  }

  void splitterMoveLaysThePagesOutAgain() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = f.view().activePage();
    auto reservedBottom = [page] {
      return page->reservedButton(ButtonKind::Annulation)->geometry().bottom();
    };
    const int before = reservedBottom();
    f.splitter()->setSizes({300, 400});
    f.view().arrangeAll();
    // The reserved row stays at the bottom of the now shorter page.
    const int viewport = page->scrollArea()->viewport()->height();
    QVERIFY(reservedBottom() < before);
    QVERIFY(reservedBottom() < viewport);
    QVERIFY(reservedBottom() > viewport - 2 * f.view().buttonHeight());
  }
};

ORIVOX_TEST(AppearanceTest)
#include "AppearanceTest.moc"
