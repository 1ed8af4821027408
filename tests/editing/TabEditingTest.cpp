// The tab commands of the creation panel as a carer uses them: add, delete, rename through the
// name field, move, the tab pace, and the name field following the tab chosen in the strip.
#include "board/TOnglet.h"
#include "shell/TMainFrame.h"
#include "shell/TPageControl.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

QStringList captionsOf(TMainFrame& f) { return MainFrameHarness::tabCaptions(f); }

// Creation mode on a board holding exactly these tabs, the last one active, nothing unsaved.
void useTabs(MainFrameHarness& h, const QStringList& captions) {
  TMainFrame& f = h.frame();
  h.enterCreationMode();
  f.ClearBoard();
  for (const QString& c : captions)
    f.AddTab(c);
  f.FSaved = true;
}

void clickTab(TMainFrame& f, int index) { MainFrameHarness::clickTab(f, index); }
void typeText(QWidget* w, const QString& text) { MainFrameHarness::typeText(w, text); }

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
    f.PageControl->setCurrentIndex(0);
    f.FTabCounter = counter;
    f.EdtNomOnglet->setEnabled(false);
    f.BtnAjoutOngl->click();
    QCOMPARE(captionsOf(f), tabs + QStringList{added});
    QCOMPARE(f.PageControl->tabText(tabs.size()), added);
    QCOMPARE(f.PageControl->currentIndex(), tabs.size());
    QCOMPARE(f.TabBar->highlighted(), tabs.size());
    QCOMPARE(f.EdtNomOnglet->text(), added);
    QVERIFY(f.EdtNomOnglet->isEnabled());
    QCOMPARE(f.FTabCounter, counter + 1);
    QVERIFY(!f.FSaved);
    // The new page is in the editing look: no reserved button shown.
    for (TTextButton* b : f.activePage()->FButtons)
      QVERIFY(!b->isShownOnPage());
  }

  void aBoardWithoutTabs() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.BtnSupprOnglClick();
    QCOMPARE(f.pageCount(), 0);
    QVERIFY(f.EdtNomOnglet->text().isEmpty());
    QVERIFY(!f.EdtNomOnglet->isEnabled());
    f.FSaved = true;
    f.BtnSupprOnglClick(); // nothing to delete
    f.BtnAvtOnglClick();
    f.BtnSuivOnglClick();
    QVERIFY(f.FSaved);
    f.BtnAjoutOnglClick();
    QCOMPARE(captionsOf(f), QStringList{"Onglet1"});
    QCOMPARE(f.TabBar->highlighted(), 0);
    QVERIFY(f.EdtNomOnglet->isEnabled());
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
    QTest::newRow("lower-case divers is ordinary")
        << QStringList{"divers", "B"} << 0 << QStringList{"B"} << "B" << true;
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
    f.EdtNomOnglet->setFocus(); // the carer was in the name field
    f.BtnSupprOngl->click();
    QCOMPARE(captionsOf(f), left);
    QCOMPARE(f.activePage()->caption(), active);
    QCOMPARE(f.EdtNomOnglet->text(), active);
    QCOMPARE(f.EdtNomOnglet->isEnabled(), fieldEnabled);
    QVERIFY(!f.FSaved);
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
    f.FSaved = true;
    f.PageControl->setCurrentIndex(index);
    f.BtnSupprOngl->click();
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères"}));
    QCOMPARE(f.PageControl->currentIndex(), index);
    QVERIFY(f.FSaved);
    QVERIFY(h.fakes.messages.shown.isEmpty());
  }

  void renamingLetterByLetterAndLeavingWithAReservedName() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B"});
    QLineEdit* field = f.EdtNomOnglet;
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "alp");
    QCOMPARE(f.activePage()->caption(), QStringLiteral("alp"));
    QVERIFY(!f.FSaved); // a renamed tab is a change to save
    QTest::keyClicks(field, "habet");
    QCOMPARE(f.activePage()->caption(), QStringLiteral("alphabet"));
    QCOMPARE(f.PageControl->tabText(1), QStringLiteral("alphabet"));

    f.EdtT1->setFocus(); // the carer leaves the field
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown, QStringList{"Désolé ce texte est réservé"});
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(f.activePage()->caption(), QStringLiteral("alphabet")); // kept until typed over

    QTest::keyClicks(field, "s");
    f.EdtT1->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown.size(), 1);
    QVERIFY(f.EdtT1->hasFocus());
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
    f.EdtNomOnglet->setText(name);
    QCOMPARE(f.EdtNomOngletExit(), !refused);
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
    f.BtnAjoutTexteClick();
    f.BtnAjoutTexteClick();
    TTextButton* chosen = f.FCurrentText;
    QLineEdit* field = textField ? f.EdtNomTexte : f.EdtNomOnglet;
    field->setFocus();
    field->selectAll();
    typeText(field, name);
    QCOMPARE(textField ? chosen->caption() : f.activePage()->caption(), name);

    if (action == "click on the tab strip")
      clickTab(f, 0);
    else if (action == "press on the tab strip") // its release taken by a message box
      QTest::mousePress(f.TabBar, Qt::LeftButton, {}, f.TabBar->tabRect(0).center());
    else if (action == "CTRL+E")
      h.pressKey(Qt::Key_E, Qt::ControlModifier);
    else if (action == "CTRL+R")
      h.pressKey(Qt::Key_R, Qt::ControlModifier);
    else if (action == "click on a button")
      QTest::mouseClick(f.BtnAjoutOngl, Qt::LeftButton);
    else
      QTest::mouseClick(f.activePage()->FButtons[0], Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown, QStringList{"Désolé ce texte est réservé"});
    QCOMPARE(f.PageControl->currentIndex(), 1);
    QCOMPARE(f.pageCount(), 2);
    QVERIFY(!f.FExecMode);
    QVERIFY(f.PnlModeCreation->isVisible());
    QVERIFY(h.fakes.fileDialogs.saveFilters.isEmpty());
    QCOMPARE(f.FCurrentText, chosen);
    QCOMPARE(field->text(), name);
    QTRY_VERIFY(field->hasFocus());

    // One more letter and the carer's next click goes through.
    typeText(field, QStringLiteral("s"));
    QTest::mouseClick(f.BtnAjoutOngl, Qt::LeftButton);
    QCOMPARE(f.pageCount(), 3);
    QCOMPARE(h.fakes.messages.shown.size(), 1);
  }

  void namesTheFileCannotStoreCannotBeTyped() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.EdtNomOnglet->setFocus();
    f.EdtNomOnglet->selectAll();
    typeText(f.EdtNomOnglet, QStringLiteral("a\u0394b")); // Greek delta: not storable
    QCOMPARE(f.activePage()->caption(), QStringLiteral("ab"));
  }

  void ampersandShownLiterally() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A"});
    f.EdtNomOnglet->setText("Tom & Jerry");
    QCOMPARE(f.activePage()->caption(), QStringLiteral("Tom & Jerry"));
    // Doubled, the ampersand is drawn once instead of underlining the next letter.
    QCOMPARE(f.PageControl->tabText(0), QStringLiteral("Tom && Jerry"));
    f.BtnAjoutOnglClick();
    clickTab(f, 0);
    QCOMPARE(f.EdtNomOnglet->text(), QStringLiteral("Tom & Jerry"));
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
    TOnglet* moved = f.activePage();
    f.FSaved = true;
    (back ? f.BtnAvtOngl : f.BtnSuivOngl)->click();
    QCOMPARE(captionsOf(f), order);
    QCOMPARE(f.activePage(), moved);
    QCOMPARE(f.TabBar->highlighted(), f.PageControl->currentIndex()); // it goes with its tab
    QCOMPARE(f.FSaved, saved);
    for (int i = 0; i < order.size(); ++i)
      QCOMPARE(f.PageControl->tabText(i), order[i]);
  }

  void tabPaceIsAnEditOnly() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.FSaved = true;
    f.EdtT1->setValue(9);
    QVERIFY(!f.FSaved);
    QCOMPARE(f.TimerT1->interval(), 3000);
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
    f.BtnAjoutOnglClick();
    f.FSaved = true;
    // From an ordinary tab and from a reserved one.
    for (int from : {3, 0}) {
      clickTab(f, from);
      clickTab(f, index);
      QCOMPARE(f.PageControl->currentIndex(), index);
      QCOMPARE(f.EdtNomOnglet->text(), shown);
      QCOMPARE(f.EdtNomOnglet->isEnabled(), enabled);
    }
    QCOMPARE(captionsOf(f), (QStringList{"Divers", "Alphabet", "Autres caractères", "Onglet1"}));
    QVERIFY(f.FSaved); // choosing a tab renames nothing
  }

  void chosenTextGoesWithItsTab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTabs(h, {"A", "B"});
    f.BtnAjoutTexteClick();
    QVERIFY(f.FCurrentText);
    f.BtnSupprOnglClick();
    QVERIFY(!f.FCurrentText);
    // The text commands now find nothing to act on.
    f.FSaved = true;
    f.EdtNomTexte->setText("renommé");
    f.BtnSupprTexteClick();
    f.BtnSuivRTexteClick();
    f.BtnOngletAvtClick();
    QVERIFY(f.FSaved);
    QCOMPARE(f.activePage()->GetTexts(), QStringList());
  }
};

ORIVOX_TEST(TabEditingTest)
#include "TabEditingTest.moc"
