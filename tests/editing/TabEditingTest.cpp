// The tab commands of the creation panel as a carer uses them: add, delete, rename through the
// name field, move, the tab pace, and the name field following the tab chosen in the strip.
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

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

QStringList captionsOf(TMainFrame& f) {
  return MainFrameHarness::tabCaptions(f);
}

// Creation mode on a board holding exactly these tabs, the last one active, nothing unsaved.
void useTabs(MainFrameHarness& h, const QStringList& captions) {
  TMainFrame& f = h.frame();
  h.enterCreationMode();
  f.view().ClearBoard();
  for (const QString& c : captions)
    f.view().AddTab(c);
  f.document().setSaved(true);
}

void clickTab(TMainFrame& f, int index) {
  MainFrameHarness::clickTab(f, index);
}
void typeText(QWidget* w, const QString& text) {
  MainFrameHarness::typeText(w, text);
}

} // namespace

class TabEditingTest : public QObject {
  Q_OBJECT
private slots:
  void addNamesTheTabFromTheCounter_data() {
    QTest::addColumn<int>("counter");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QString>("added");
    QTest::newRow("first of a run") << 0 << QStringList{"A"} << "Onglet0";
    QTest::newRow("after the default board") << 1 << QStringList{"A", "B"} << "Onglet1";
    QTest::newRow("name already taken") << 5 << QStringList{"Onglet5", "B"} << "Onglet5";
  }
  void addNamesTheTabFromTheCounter() {
    QFETCH(int, counter);
    QFETCH(QStringList, tabs);
    QFETCH(QString, added);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, tabs);
    f.view().pageControl()->setCurrentIndex(0);
    f.view().setTabCounter(counter);
    f.panel().EdtNomOnglet->setEnabled(false);
    f.panel().BtnAjoutOngl->click();
    QCOMPARE(captionsOf(f), tabs + QStringList{added});
    QCOMPARE(f.view().pageControl()->tabText(tabs.size()), added);
    QCOMPARE(f.view().pageControl()->currentIndex(), tabs.size());
    QCOMPARE(f.view().tabBar()->highlighted(), tabs.size());
    QCOMPARE(f.panel().EdtNomOnglet->text(), added);
    QVERIFY(f.panel().EdtNomOnglet->isEnabled());
    QCOMPARE(f.view().tabCounter(), counter + 1);
    QVERIFY(!f.document().saved());
    // The new page is in the editing look: no reserved button shown.
    for (TTextButton* b : f.view().activePage()->buttons())
      QVERIFY(!b->isShownOnPage());
  }

  void aBoardWithoutTabs() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.panel().BtnSupprOnglClick();
    QCOMPARE(f.view().pageCount(), 0);
    QVERIFY(f.panel().EdtNomOnglet->text().isEmpty());
    QVERIFY(!f.panel().EdtNomOnglet->isEnabled());
    f.document().setSaved(true);
    f.panel().BtnSupprOnglClick(); // nothing to delete
    f.panel().BtnAvtOnglClick();
    f.panel().BtnSuivOnglClick();
    QVERIFY(f.document().saved());
    f.panel().BtnAjoutOnglClick();
    QCOMPARE(captionsOf(f), QStringList{"Onglet1"});
    QCOMPARE(f.view().tabBar()->highlighted(), 0);
    QVERIFY(f.panel().EdtNomOnglet->isEnabled());
  }

  void deleteActivatesANeighbour_data() {
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("active");
    QTest::addColumn<bool>("fieldEnabled");
    const QStringList abc{"A", "B", "C"};
    QTest::newRow("middle: the follower") << abc << 1 << QStringList{"A", "C"} << "C" << true;
    QTest::newRow("last: the previous") << abc << 2 << QStringList{"A", "B"} << "B" << true;
    QTest::newRow("first: the follower") << abc << 0 << QStringList{"B", "C"} << "B" << true;
    QTest::newRow("onto a reserved tab")
        << QStringList{"Divers", "X"} << 1 << QStringList{"Divers"} << "Divers" << false;
    QTest::newRow("a second divers, in any case, is ordinary")
        << QStringList{"Divers", "divers", "B"} << 1 << QStringList{"Divers", "B"} << "B" << true;
  }
  void deleteActivatesANeighbour() {
    QFETCH(QStringList, tabs);
    QFETCH(int, deleted);
    QFETCH(QStringList, left);
    QFETCH(QString, active);
    QFETCH(bool, fieldEnabled);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, tabs);
    clickTab(f, deleted);
    f.panel().EdtNomOnglet->setFocus(); // the carer was in the name field
    f.panel().BtnSupprOngl->click();
    QCOMPARE(captionsOf(f), left);
    QCOMPARE(f.view().activePage()->caption(), active);
    QCOMPARE(f.panel().EdtNomOnglet->text(), active);
    QCOMPARE(f.panel().EdtNomOnglet->isEnabled(), fieldEnabled);
    QVERIFY(!f.document().saved());
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void reservedTabsAreNotDeleted_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("Divers") << 0;
    QTest::newRow("Alphabet") << 1;
    QTest::newRow("Autres caractères") << 2;
  }
  void reservedTabsAreNotDeleted() {
    QFETCH(int, index);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.document().setSaved(true);
    f.view().pageControl()->setCurrentIndex(index);
    f.panel().BtnSupprOngl->click();
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));
    QCOMPARE(f.view().pageControl()->currentIndex(), index);
    QVERIFY(f.document().saved());
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void renamingLetterByLetterAndLeavingWithAReservedName() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B"});
    QLineEdit* field = f.panel().EdtNomOnglet;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "alp");
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("alp"));
    QVERIFY(!f.document().saved()); // a renamed tab is a change to save
    QTest::keyClicks(field, "habet");
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("alphabet"));
    QCOMPARE(f.view().pageControl()->tabText(1), QStringLiteral("alphabet"));

    f.panel().EdtT1->setFocus(); // the carer leaves the field
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown, QStringList{"Désolé ce texte est réservé"});
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("alphabet")); // kept until typed over

    QTest::keyClicks(field, "s");
    f.panel().EdtT1->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QVERIFY(f.panel().EdtT1->hasFocus());
    QCOMPARE(captionsOf(f), (QStringList{"A", "alphabets"}));
  }

  void reservedNamesOnLeavingTheField_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("alphabet") << "alphabet" << true;
    QTest::newRow("DIVERS") << "DIVERS" << true;
    QTest::newRow("Divers") << "Divers" << true;
    QTest::newRow("accented capital folds") << "AUTRES CARACTÈRES" << true;
    QTest::newRow("accent is significant") << "Autres caracteres" << false;
    QTest::newRow("trailing space") << "Divers " << false;
    QTest::newRow("longer") << "Alphabets" << false;
    QTest::newRow("empty") << "" << false;
  }
  void reservedNamesOnLeavingTheField() {
    QFETCH(QString, name);
    QFETCH(bool, refused);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.panel().EdtNomOnglet->setText(name);
    QCOMPARE(f.panel().EdtNomOngletExit(), !refused);
    QCOMPARE(h.fakes.messages.shown.size(), refused ? 1 : 0);
  }

  // While a name field holds a reserved name nothing else happens: the message once, no tab
  // change, no mode change, no command, and the focus stays in the field.
  void reservedNameHoldsTheWindowUp_data() {
    QTest::addColumn<bool>("textField");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("action");
    for (const auto& [textField, name] :
         {std::pair{false, QStringLiteral("Divers")}, std::pair{true, QStringLiteral("RETOUR")}})
      for (const char* action : {"click on the tab strip", "press on the tab strip", "CTRL+E",
                                 "CTRL+R", "click on a button", "click on another text"})
        QTest::addRow("%s, %s", qPrintable(name), action) << textField << name << action;
  }
  void reservedNameHoldsTheWindowUp() {
    QFETCH(bool, textField);
    QFETCH(QString, name);
    QFETCH(QString, action);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B"});
    f.panel().BtnAjoutTexteClick();
    f.panel().BtnAjoutTexteClick();
    TTextButton* chosen = f.view().currentText();
    QLineEdit* field = textField ? f.panel().EdtNomTexte : f.panel().EdtNomOnglet;
    field->setFocus();
    field->selectAll();
    typeText(field, name);
    QCOMPARE(textField ? chosen->caption() : f.view().activePage()->caption(), name);

    if (action == "click on the tab strip")
      clickTab(f, 0);
    else if (action == "press on the tab strip") // its release taken by a message box
      QTest::mousePress(f.view().tabBar(), Qt::LeftButton, {},
                        f.view().tabBar()->tabRect(0).center());
    else if (action == "CTRL+E")
      h.pressKey(Qt::Key_E, Qt::ControlModifier);
    else if (action == "CTRL+R")
      h.pressKey(Qt::Key_R, Qt::ControlModifier);
    else if (action == "click on a button")
      QTest::mouseClick(f.panel().BtnAjoutOngl, Qt::LeftButton);
    else
      QTest::mouseClick(f.view().activePage()->buttonAt(0), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown, QStringList{"Désolé ce texte est réservé"});
    QCOMPARE(f.view().pageControl()->currentIndex(), 1);
    QCOMPARE(f.view().pageCount(), 2);
    QVERIFY(!f.view().execMode());
    QVERIFY((&f.panel())->isVisible());
    QVERIFY(h.fakes.fileDialogs.saveFilters.isEmpty());
    QCOMPARE(f.view().currentText(), chosen);
    QCOMPARE(field->text(), name);
    QTRY_VERIFY(field->hasFocus());

    // One more letter and the carer's next click goes through.
    typeText(field, QStringLiteral("s"));
    QTest::mouseClick(f.panel().BtnAjoutOngl, Qt::LeftButton);
    QCOMPARE(f.view().pageCount(), 3);
    QCOMPARE(h.fakes.messages.shown.size(), 1);
  }

  void namesTheFileCannotStoreCannotBeTyped() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.panel().EdtNomOnglet->setFocus();
    f.panel().EdtNomOnglet->selectAll();
    typeText(f.panel().EdtNomOnglet, QStringLiteral("a\u0394b")); // Greek delta: not storable
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("ab"));
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"Le caractère « Δ » ne peut pas être enregistré dans un tableau."});
  }

  // A board made elsewhere may name two tabs alike in any letter case: the first is the reserved
  // tab, a later one an ordinary tab the carer can leave, rename and delete.
  void aSecondTabOfAReservedNameIsOrdinary_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("reserved");
    const QStringList names{"Divers",
                            "divers",
                            "Alphabet",
                            "ALPHABET",
                            QStringLiteral("Autres caractères"),
                            QStringLiteral("Autres caractères")};
    for (int i = 0; i < names.size(); ++i)
      QTest::addRow("%d %s", i, qPrintable(names[i])) << i << (i % 2 == 0);
  }
  void aSecondTabOfAReservedNameIsOrdinary() {
    QFETCH(int, index);
    QFETCH(bool, reserved);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const QStringList names{"Divers",
                            "divers",
                            "Alphabet",
                            "ALPHABET",
                            QStringLiteral("Autres caractères"),
                            QStringLiteral("Autres caractères")};
    useTabs(h, names);
    clickTab(f, index);
    QLineEdit* field = f.panel().EdtNomOnglet;
    QCOMPARE(field->text(), names[index]);
    QCOMPARE(field->isEnabled(), !reserved);
    if (!reserved) {
      // Its own name is no name typed: the field can be left as it is, then renamed.
      field->setFocus();
      f.panel().EdtT1->setFocus();
      QCoreApplication::processEvents();
      QVERIFY(f.panel().EdtT1->hasFocus());
      field->setFocus();
      field->selectAll();
      typeText(field, QStringLiteral("Phrases"));
      f.panel().EdtT1->setFocus();
      QCoreApplication::processEvents();
      QVERIFY(f.panel().EdtT1->hasFocus());
      QCOMPARE(f.view().pageAt(index)->caption(), QStringLiteral("Phrases"));
    }
    f.panel().BtnSupprOngl->click();
    QCOMPARE(f.view().pageCount(), reserved ? 6 : 5);
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void ampersandShownLiterally() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.panel().EdtNomOnglet->setText("Tom & Jerry");
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Tom & Jerry"));
    // Doubled, the ampersand is drawn once instead of underlining the next letter.
    QCOMPARE(f.view().pageControl()->tabText(0), QStringLiteral("Tom && Jerry"));
    f.panel().BtnAjoutOnglClick();
    clickTab(f, 0);
    QCOMPARE(f.panel().EdtNomOnglet->text(), QStringLiteral("Tom & Jerry"));
  }

  void moveTab_data() {
    QTest::addColumn<int>("active");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<bool>("saved");
    QTest::newRow("<< on the first") << 0 << true << QStringList{"A", "B", "C"} << true;
    QTest::newRow(">> on the last") << 2 << false << QStringList{"A", "B", "C"} << true;
    QTest::newRow("<< on the middle") << 1 << true << QStringList{"B", "A", "C"} << false;
    QTest::newRow(">> on the first") << 0 << false << QStringList{"B", "A", "C"} << false;
  }
  void moveTab() {
    QFETCH(int, active);
    QFETCH(bool, back);
    QFETCH(QStringList, order);
    QFETCH(bool, saved);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B", "C"});
    clickTab(f, active);
    TOnglet* moved = f.view().activePage();
    f.document().setSaved(true);
    (back ? f.panel().BtnAvtOngl : f.panel().BtnSuivOngl)->click();
    QCOMPARE(captionsOf(f), order);
    QCOMPARE(f.view().activePage(), moved);
    QCOMPARE(f.view().tabBar()->highlighted(),
             f.view().pageControl()->currentIndex()); // it goes with its tab
    QCOMPARE(f.document().saved(), saved);
    for (int i = 0; i < order.size(); ++i)
      QCOMPARE(f.view().pageControl()->tabText(i), order[i]);
  }

  void tabPaceIsAnEditOnly() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.document().setSaved(true);
    f.panel().EdtT1->setValue(9);
    QVERIFY(!f.document().saved());
    QCOMPARE(f.session().tabTimer().interval(), 3000);
  }

  void nameFieldFollowsTheTabChosenInTheStrip_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("Divers") << 0 << "Divers" << false;
    QTest::newRow("Alphabet") << 1 << "Alphabet" << false;
    QTest::newRow("Autres caractères") << 2 << "Autres caractères" << false;
    QTest::newRow("ordinary") << 3 << "Onglet1" << true;
  }
  void nameFieldFollowsTheTabChosenInTheStrip() {
    QFETCH(int, index);
    QFETCH(QString, shown);
    QFETCH(bool, enabled);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.panel().BtnAjoutOnglClick();
    f.document().setSaved(true);
    // From an ordinary tab and from a reserved one.
    for (int from : {3, 0}) {
      clickTab(f, from);
      clickTab(f, index);
      QCOMPARE(f.view().pageControl()->currentIndex(), index);
      QCOMPARE(f.panel().EdtNomOnglet->text(), shown);
      QCOMPARE(f.panel().EdtNomOnglet->isEnabled(), enabled);
    }
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères", "Onglet1"}));
    QVERIFY(f.document().saved()); // choosing a tab renames nothing
  }

  void chosenTextGoesWithItsTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B"});
    f.panel().BtnAjoutTexteClick();
    QVERIFY(f.view().currentText());
    f.panel().BtnSupprOnglClick();
    QVERIFY(!f.view().currentText());
    // The text commands now find nothing to act on.
    f.document().setSaved(true);
    f.panel().EdtNomTexte->setText("renommé");
    f.panel().BtnSupprTexteClick();
    f.panel().BtnSuivRTexteClick();
    f.panel().BtnOngletAvtClick();
    QVERIFY(f.document().saved());
    QCOMPARE(f.view().activePage()->GetTexts(), QStringList());
  }
};

ORIVOX_TEST(TabEditingTest)
#include "TabEditingTest.moc"
