// The text commands of the creation panel as a carer uses them: texts chosen by clicking them,
// then added, deleted, renamed through the name field and moved inside or across tabs.
#include "board/TOnglet.h"
#include "shell/TMainFrame.h"
#include "shell/TPageControl.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

// Creation mode on the default board followed by ordinary tabs "T1" and "T2" with these
// texts; "T1" is active and nothing is unsaved.
void useTexts(MainFrameHarness& h, const QStringList& t1, const QStringList& t2 = {"Z"}) {
  TMainFrame& f = h.frame();
  h.enterCreationMode();
  TOnglet* p1 = f.AddTab("T1");
  for (const QString& t : t1)
    p1->AddText(true, t, false);
  TOnglet* p2 = f.AddTab("T2");
  for (const QString& t : t2)
    p2->AddText(true, t, false);
  f.PageControl->setCurrentWidget(p1);
  f.PageControlChange();
  f.FSaved = true;
}

TOnglet* page(TMainFrame& f, const QString& caption) {
  for (TOnglet* p : f.pages())
    if (p->caption() == caption)
      return p;
  return nullptr;
}

// A click on the button holding the text at this index of the active tab.
void choose(TMainFrame& f, int index) {
  QTest::mouseClick(f.activePage()->FButtons[size_t(index)], Qt::LeftButton);
}

void clickTab(TMainFrame& f, int index) { MainFrameHarness::clickTab(f, index); }
void typeText(QWidget* w, const QString& text) { MainFrameHarness::typeText(w, text); }

} // namespace

class TextEditingTest : public QObject {
  Q_OBJECT
private slots:
  void addNamesTheTextFromTheCount_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("added");
    QTest::newRow("empty tab") << QStringList{} << "Texte0";
    QTest::newRow("three texts") << QStringList{"A", "B", "C"} << "Texte3";
    QTest::newRow("name already taken") << QStringList{"Texte3", "B", "C"} << "Texte3";
  }
  void addNamesTheTextFromTheCount() {
    QFETCH(QStringList, texts);
    QFETCH(QString, added);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, texts);
    f.EdtNomTexte->setEnabled(false);
    f.BtnAjoutTexte->click();
    QCOMPARE(f.activePage()->GetTexts(), texts + QStringList{added});
    QCOMPARE(f.FCurrentText->caption(), added);
    QCOMPARE(f.activePage()->indexOfButton(f.FCurrentText), texts.size());
    // Typing names it at once: the default caption is selected in the focused name field.
    QVERIFY(f.EdtNomTexte->hasFocus());
    QCOMPARE(f.EdtNomTexte->selectedText(), added);
    QVERIFY(f.EdtNomTexte->isEnabled());
    QCOMPARE(f.FCurrentText->boardFont(), f.FSelectedFont); // the preview font of the moment
    QVERIFY(!f.FSaved);
  }

  void addWithoutATab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.ClearBoard();
    f.FSaved = true;
    f.BtnAjoutTexteClick();
    QVERIFY(!f.FSaved);
    QVERIFY(!f.FCurrentText);
  }

  void deleteChoosesANeighbour_data() {
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<QString>("nowChosen"); // empty: none
    QTest::newRow("middle: the follower") << 1 << QStringList{"A", "C"} << "C";
    QTest::newRow("last: the previous") << 2 << QStringList{"A", "B"} << "B";
    QTest::newRow("first: none") << 0 << QStringList{"B", "C"} << "";
  }
  void deleteChoosesANeighbour() {
    QFETCH(int, chosen);
    QFETCH(QStringList, left);
    QFETCH(QString, nowChosen);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B", "C"});
    choose(f, chosen);
    f.BtnSupprTexte->click();
    QCOMPARE(f.activePage()->GetTexts(), left);
    QVERIFY(!f.FSaved);
    if (nowChosen.isEmpty()) {
      QVERIFY(!f.FCurrentText);
      QCOMPARE(f.EdtNomTexte->text(), QString()); // never the name of a text that is gone
      QVERIFY(!f.EdtNomTexte->isEnabled());
      f.EdtNomTexte->setText("rien"); // no text to rename
      QCOMPARE(f.activePage()->GetTexts(), left);
    } else {
      QCOMPARE(f.FCurrentText->caption(), nowChosen);
      QVERIFY(f.FCurrentText->hasFocus());
      QCOMPARE(f.EdtNomTexte->text(), nowChosen);
    }
    QCOMPARE(page(f, "T2")->GetTexts(), QStringList{"Z"});
  }

  void reservedCaptionsOnLeavingTheField_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    for (const char* w :
         {"RETOUR", "retour", "CLEAR", "clear", "AJOUT", "ajout", "VALIDATION", "validation",
          "SUPPRESSION", "suppression", "SONNERIE", "sonnerie", "ANNULATION", "annulation"})
      QTest::newRow(w) << QString::fromLatin1(w) << true;
    QTest::newRow("Retour") << "Retour" << false;
    QTest::newRow("RETOURS") << "RETOURS" << false;
    QTest::newRow(" clear") << " clear" << false;
    QTest::newRow("Texte0") << "Texte0" << false;
  }
  void reservedCaptionsOnLeavingTheField() {
    QFETCH(QString, name);
    QFETCH(bool, refused);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A"});
    choose(f, 0);
    f.EdtNomTexte->setFocus();
    f.EdtNomTexte->selectAll();
    QTest::keyClicks(f.EdtNomTexte, name);
    QCOMPARE(f.activePage()->GetTexts(), QStringList{name});
    QVERIFY(!f.FSaved);         // a renamed text is a change to save
    f.EdtNomOnglet->setFocus(); // the carer leaves the field
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown,
             refused ? QStringList{"Désolé ce texte est réservé"} : QStringList{});
    if (refused)
      QTRY_VERIFY(f.EdtNomTexte->hasFocus());
    else
      QVERIFY(f.EdtNomOnglet->hasFocus());
    QCOMPARE(f.activePage()->GetTexts(), QStringList{name});
  }

  void longNameIsCutAndAPieceChoosesTheWholeText() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B"});
    choose(f, 0);
    QString longName;
    for (int i = 0; i < 60; ++i)
      longName += QStringLiteral("mot%1 ").arg(i);
    f.EdtNomTexte->setText(longName); // pasted
    TOnglet* p = f.activePage();
    QVERIFY(p->textButtonCount() > 3); // cut into several buttons
    for (TTextButton* b : p->FButtons)
      QVERIFY(b->x() + b->width() <= f.PageControl->width());
    choose(f, p->textButtonCount() - 1);
    QCOMPARE(f.EdtNomTexte->text(), QStringLiteral("B"));
    // A piece after the first chooses the whole text.
    choose(f, 1);
    QCOMPARE(f.EdtNomTexte->text(), longName);
    QCOMPARE(f.FCurrentText.data(), p->FButtons[0]);
    // Saving joins the pieces back into one text.
    p->JoinPieces();
    QCOMPARE(p->GetTexts(), (QStringList{longName, "B"}));
  }

  void moveInsideTheTab_data() {
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("<< on the first") << 0 << true << QStringList{"A", "B", "C"};
    QTest::newRow(">> on the last") << 2 << false << QStringList{"A", "B", "C"};
    QTest::newRow("<< on the middle") << 1 << true << QStringList{"B", "A", "C"};
    QTest::newRow(">> on the middle") << 1 << false << QStringList{"A", "C", "B"};
  }
  void moveInsideTheTab() {
    QFETCH(int, chosen);
    QFETCH(bool, back);
    QFETCH(QStringList, order);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B", "C"});
    choose(f, chosen);
    TTextButton* moved = f.FCurrentText;
    f.FSaved = true;
    (back ? f.BtnAvtTexte : f.BtnSuivRTexte)->click();
    QCOMPARE(f.activePage()->GetTexts(), order);
    QCOMPARE(f.FCurrentText.data(), moved);
    QVERIFY(moved->hasFocus());
    QVERIFY(!f.FSaved); // even when nothing moved
  }

  void moveToAnotherTab_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QStringList>("fromTexts");
    QTest::addColumn<QStringList>("toTexts");
    QTest::addColumn<bool>("nameFieldEnabled");
    QTest::newRow(">> lands last on the next tab")
        << true << "T1"
        << "T2" << QStringList{"B"} << QStringList{"Z", "A"} << true;
    QTest::newRow("<< onto a reserved tab")
        << false << "T1"
        << "Autres caractères" << QStringList{"B"}
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",  "+",
                       "-", "*", "/", ".", ",", ";", ":", "!", "?", "\"", "(",
                       ")", "é", "è", "ç", "à", "ù", "@", " ", "A"}
        << false;
  }
  void moveToAnotherTab() {
    QFETCH(bool, forward);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QStringList, fromTexts);
    QFETCH(QStringList, toTexts);
    QFETCH(bool, nameFieldEnabled);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B"});
    choose(f, 0);
    (forward ? f.BtnOngletSuiv : f.BtnOngletAvt)->click();
    QCOMPARE(page(f, from)->GetTexts(), fromTexts);
    QCOMPARE(page(f, to)->GetTexts(), toTexts);
    QCOMPARE(f.activePage(), page(f, to));
    QCOMPARE(f.FCurrentText->caption(), QStringLiteral("A"));
    QCOMPARE(f.activePage()->indexOfButton(f.FCurrentText), toTexts.size() - 1);
    QVERIFY(f.FCurrentText->hasFocus());
    QCOMPARE(f.EdtNomTexte->text(), QStringLiteral("A"));
    QCOMPARE(f.EdtNomOnglet->text(), to);
    QCOMPARE(f.EdtNomOnglet->isEnabled(), nameFieldEnabled);
    QVERIFY(!f.FSaved);
    // Typing in the tab name field renames the tab now shown, not the one left.
    if (nameFieldEnabled) {
      f.EdtNomOnglet->setText("T2bis");
      QCOMPARE(f.activePage()->caption(), QStringLiteral("T2bis"));
      QVERIFY(page(f, from));
    }
  }

  void moveFromTheEndsOfTheTabRowDoesNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A"}, {"Y", "Z"});
    clickTab(f, 4); // T2, the last tab
    choose(f, 0);
    f.FSaved = true;
    f.BtnOngletSuiv->click();
    QCOMPARE(page(f, "T2")->GetTexts(), (QStringList{"Y", "Z"}));
    QCOMPARE(f.activePage(), page(f, "T2"));
    QVERIFY(f.FSaved);
    // And from the first tab, backwards: a text added to "Divers".
    clickTab(f, 0);
    f.BtnAjoutTexteClick();
    f.FSaved = true;
    f.BtnOngletAvt->click();
    QCOMPARE(f.activePage()->GetTexts(), QStringList{"Texte0"});
    QVERIFY(f.FSaved);
  }

  void aChosenTextOnAnotherTabIsNeverTouched_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("rename") << "rename";
    QTest::newRow("delete") << "delete";
    QTest::newRow("<< inside") << "back";
    QTest::newRow(">> inside") << "forward";
    QTest::newRow("<< to a tab") << "tabBack";
    QTest::newRow(">> to a tab") << "tabForward";
  }
  void aChosenTextOnAnotherTabIsNeverTouched() {
    QFETCH(QString, command);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B"}, {"Y", "Z"});
    choose(f, 0);   // "A" on T1
    clickTab(f, 4); // T2 shown; "A" stays the chosen text
    QCOMPARE(f.FCurrentText->caption(), QStringLiteral("A"));
    f.FSaved = true;
    if (command == "rename")
      f.EdtNomTexte->setText("nouveau");
    else if (command == "delete")
      f.BtnSupprTexte->click();
    else if (command == "back")
      f.BtnAvtTexte->click();
    else if (command == "forward")
      f.BtnSuivRTexte->click();
    else if (command == "tabBack")
      f.BtnOngletAvt->click();
    else
      f.BtnOngletSuiv->click();
    QCOMPARE(page(f, "T1")->GetTexts(), (QStringList{"A", "B"}));
    QCOMPARE(page(f, "T2")->GetTexts(), (QStringList{"Y", "Z"}));
    QCOMPARE(f.activePage(), page(f, "T2"));
    QVERIFY(f.FSaved);
  }

  void textPaceIsAnEditOnly() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.FSaved = true;
    f.EdtT2->setValue(4);
    QVERIFY(!f.FSaved);
    QCOMPARE(f.TimerT2->interval(), 1000);
  }

  void namesTheFileCannotStoreCannotBeTyped() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A"});
    choose(f, 0);
    f.EdtNomTexte->setFocus();
    f.EdtNomTexte->selectAll();
    typeText(f.EdtNomTexte, QStringLiteral("é\u20AC\u0394")); // euro storable, delta not
    QCOMPARE(f.activePage()->GetTexts(), QStringList{QStringLiteral("é\u20AC")});
  }
};

ORIVOX_TEST(TextEditingTest)
#include "TextEditingTest.moc"
