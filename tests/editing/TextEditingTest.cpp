// The text commands of the creation panel as a carer uses them: texts chosen by clicking them,
// then added, deleted, renamed through the name field and moved inside or across tabs.
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
#include <QClipboard>
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
  TOnglet* p1 = f.view().AddTab("T1");
  for (const QString& t : t1)
    p1->AddText(true, t, false);
  TOnglet* p2 = f.view().AddTab("T2");
  for (const QString& t : t2)
    p2->AddText(true, t, false);
  f.view().pageControl()->setCurrentWidget(p1);
  f.session().PageControlChange();
  f.document().setSaved(true);
}

TOnglet* page(TMainFrame& f, const QString& caption) {
  for (TOnglet* p : f.view().pages())
    if (p->caption() == caption)
      return p;
  return nullptr;
}

// A click on the button holding the text at this index of the active tab.
void choose(TMainFrame& f, int index) {
  QTest::mouseClick(f.view().activePage()->buttonAt(index), Qt::LeftButton);
}

void clickTab(TMainFrame& f, int index) {
  MainFrameHarness::clickTab(f, index);
}
void typeText(QWidget* w, const QString& text) {
  MainFrameHarness::typeText(w, text);
}

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
    f.panel().EdtNomTexte->setEnabled(false);
    f.panel().BtnAjoutTexte->click();
    QCOMPARE(f.view().activePage()->GetTexts(), texts + QStringList{added});
    QCOMPARE(f.view().currentText()->caption(), added);
    QCOMPARE(f.view().activePage()->indexOfButton(f.view().currentText()), texts.size());
    // Typing names it at once: the default caption is selected in the focused name field.
    QVERIFY(f.panel().EdtNomTexte->hasFocus());
    QCOMPARE(f.panel().EdtNomTexte->selectedText(), added);
    QVERIFY(f.panel().EdtNomTexte->isEnabled());
    QCOMPARE(f.view().currentText()->boardFont(),
             f.view().selectedFont()); // the preview font of the moment
    QVERIFY(!f.document().saved());
  }

  void addWithoutATab() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.view().ClearBoard();
    f.document().setSaved(true);
    f.panel().BtnAjoutTexteClick();
    QVERIFY(!f.document().saved());
    QVERIFY(!f.view().currentText());
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
    f.panel().BtnSupprTexte->click();
    QCOMPARE(f.view().activePage()->GetTexts(), left);
    QVERIFY(!f.document().saved());
    if (nowChosen.isEmpty()) {
      QVERIFY(!f.view().currentText());
      QCOMPARE(f.panel().EdtNomTexte->text(), QString()); // never the name of a text that is gone
      QVERIFY(!f.panel().EdtNomTexte->isEnabled());
      f.panel().EdtNomTexte->setText("rien"); // no text to rename
      QCOMPARE(f.view().activePage()->GetTexts(), left);
    } else {
      QCOMPARE(f.view().currentText()->caption(), nowChosen);
      QVERIFY(f.view().currentText()->hasFocus());
      QCOMPARE(f.panel().EdtNomTexte->text(), nowChosen);
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
    // One letter-case rule for every reserved name.
    QTest::newRow("Retour") << "Retour" << true;
    QTest::newRow("cLeAr") << "cLeAr" << true;
    QTest::newRow("Suppression") << "Suppression" << true;
    QTest::newRow("RETOURS") << "RETOURS" << false;
    QTest::newRow("accent is significant") << QStringLiteral("ANNULATIÒN") << false;
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
    f.panel().EdtNomTexte->setFocus();
    f.panel().EdtNomTexte->selectAll();
    QTest::keyClicks(f.panel().EdtNomTexte, name);
    QCOMPARE(f.view().activePage()->GetTexts(), QStringList{name});
    QVERIFY(!f.document().saved());     // a renamed text is a change to save
    f.panel().EdtNomOnglet->setFocus(); // the carer leaves the field
    QCoreApplication::processEvents();
    QCOMPARE(h.fakes.messages.shown,
             refused ? QStringList{"Désolé ce texte est réservé"} : QStringList{});
    if (refused)
      QTRY_VERIFY(f.panel().EdtNomTexte->hasFocus());
    else
      QVERIFY(f.panel().EdtNomOnglet->hasFocus());
    QCOMPARE(f.view().activePage()->GetTexts(), QStringList{name});
  }

  void longNameIsCutAndAPieceChoosesTheWholeText() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A", "B"});
    choose(f, 0);
    QString longName;
    for (int i = 0; i < 60; ++i)
      longName += QStringLiteral("mot%1 ").arg(i);
    f.panel().EdtNomTexte->setText(longName); // pasted
    TOnglet* p = f.view().activePage();
    QVERIFY(p->textButtonCount() > 3); // cut into several buttons
    for (TTextButton* b : p->buttons())
      QVERIFY(b->x() + b->width() <= f.view().pageControl()->width());
    choose(f, p->textButtonCount() - 1);
    QCOMPARE(f.panel().EdtNomTexte->text(), QStringLiteral("B"));
    // A piece after the first chooses the whole text.
    choose(f, 1);
    QCOMPARE(f.panel().EdtNomTexte->text(), longName);
    QCOMPARE(f.view().currentText(), p->buttonAt(0));
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
    TTextButton* moved = f.view().currentText();
    f.document().setSaved(true);
    (back ? f.panel().BtnAvtTexte : f.panel().BtnSuivRTexte)->click();
    QCOMPARE(f.view().activePage()->GetTexts(), order);
    QCOMPARE(f.view().currentText(), moved);
    QVERIFY(moved->hasFocus());
    QVERIFY(!f.document().saved()); // even when nothing moved
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
    (forward ? f.panel().BtnOngletSuiv : f.panel().BtnOngletAvt)->click();
    QCOMPARE(page(f, from)->GetTexts(), fromTexts);
    QCOMPARE(page(f, to)->GetTexts(), toTexts);
    QCOMPARE(f.view().activePage(), page(f, to));
    QCOMPARE(f.view().currentText()->caption(), QStringLiteral("A"));
    QCOMPARE(f.view().activePage()->indexOfButton(f.view().currentText()), toTexts.size() - 1);
    QVERIFY(f.view().currentText()->hasFocus());
    QCOMPARE(f.panel().EdtNomTexte->text(), QStringLiteral("A"));
    QCOMPARE(f.panel().EdtNomOnglet->text(), to);
    QCOMPARE(f.panel().EdtNomOnglet->isEnabled(), nameFieldEnabled);
    QVERIFY(!f.document().saved());
    // Typing in the tab name field renames the tab now shown, not the one left.
    if (nameFieldEnabled) {
      f.panel().EdtNomOnglet->setText("T2bis");
      QCOMPARE(f.view().activePage()->caption(), QStringLiteral("T2bis"));
      QVERIFY(page(f, from));
    }
  }

  void moveFromTheEndsOfTheTabRowDoesNothing() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A"}, {"Y", "Z"});
    clickTab(f, 4); // T2, the last tab
    choose(f, 0);
    f.document().setSaved(true);
    f.panel().BtnOngletSuiv->click();
    QCOMPARE(page(f, "T2")->GetTexts(), (QStringList{"Y", "Z"}));
    QCOMPARE(f.view().activePage(), page(f, "T2"));
    QVERIFY(f.document().saved());
    // And from the first tab, backwards: a text added to "Divers".
    clickTab(f, 0);
    f.panel().BtnAjoutTexteClick();
    f.document().setSaved(true);
    f.panel().BtnOngletAvt->click();
    QCOMPARE(f.view().activePage()->GetTexts(), QStringList{"Texte0"});
    QVERIFY(f.document().saved());
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
    QCOMPARE(f.view().currentText()->caption(), QStringLiteral("A"));
    f.document().setSaved(true);
    if (command == "rename")
      f.panel().EdtNomTexte->setText("nouveau");
    else if (command == "delete")
      f.panel().BtnSupprTexte->click();
    else if (command == "back")
      f.panel().BtnAvtTexte->click();
    else if (command == "forward")
      f.panel().BtnSuivRTexte->click();
    else if (command == "tabBack")
      f.panel().BtnOngletAvt->click();
    else
      f.panel().BtnOngletSuiv->click();
    QCOMPARE(page(f, "T1")->GetTexts(), (QStringList{"A", "B"}));
    QCOMPARE(page(f, "T2")->GetTexts(), (QStringList{"Y", "Z"}));
    QCOMPARE(f.view().activePage(), page(f, "T2"));
    QVERIFY(f.document().saved());
  }

  void textPaceIsAnEditOnly() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    f.document().setSaved(true);
    f.panel().EdtT2->setValue(4);
    QVERIFY(!f.document().saved());
    QCOMPARE(f.session().textTimer().interval(), 1000);
  }

  void namesTheFileCannotStoreCannotBeTyped() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    useTexts(h, {"A"});
    choose(f, 0);
    f.panel().EdtNomTexte->setFocus();
    f.panel().EdtNomTexte->selectAll();
    typeText(f.panel().EdtNomTexte, QStringLiteral("é\u20AC\u0394")); // euro storable, delta not
    QCOMPARE(f.view().activePage()->GetTexts(), QStringList{QStringLiteral("é\u20AC")});
    // Refused where it is typed, and the carer is told which character.
    QCOMPARE(h.fakes.messages.shown,
             QStringList{"Le caractère « Δ » ne peut pas être enregistré dans un tableau."});
  }

  // A name the file cannot hold is refused, typed or pasted, with the character named; nothing
  // of it reaches the board.
  void refusedCharactersAreNamed_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("message");
    const QString omega =
        QStringLiteral("Le caractère « Ω » ne peut pas être enregistré dans un tableau.");
    QTest::newRow("emoji typed") << "type" << QStringLiteral("😀")
                                 << "Le caractère « 😀 » ne peut pas être enregistré dans un "
                                    "tableau.";
    QTest::newRow("word pasted") << "paste" << QStringLiteral("mégaΩ") << omega;
    QTest::newRow("list pasted") << "list" << QStringLiteral("un\ndeux Ω\ntrois") << omega;
    QTest::newRow("list with a tab pasted")
        << "list" << QStringLiteral("un\td\ntrois")
        << "Le caractère de commande U+0009 ne peut pas être tapé dans un nom.";
    QTest::newRow("list of storable texts") << "list" << QStringLiteral("un\ndeux") << QString();
    // A text brought in from elsewhere is shown as it is: nobody typed it.
    QTest::newRow("a board text chosen") << "choose" << QStringLiteral("Ωmega") << QString();
  }
  void refusedCharactersAreNamed() {
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, message);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QLineEdit* field = f.panel().EdtNomTexte;
    if (how == "choose") {
      useTexts(h, {"A", input});
      choose(f, 1);
      QCOMPARE(field->text(), input);
      QVERIFY(h.fakes.messages.shown.isEmpty());
      return;
    }
    useTexts(h, {"A"});
    choose(f, 0);
    field->setFocus();
    field->selectAll();
    if (how == "type") {
      QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, input, Qt::NoModifier);
    } else if (how == "paste") {
      QApplication::clipboard()->setText(input);
      field->paste();
    } else {
      QVERIFY(f.panel().pasteTextList(input) == message.isEmpty());
    }
    QCOMPARE(h.fakes.messages.shown, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
      QCOMPARE(f.view().activePage()->GetTexts(), QStringList{"A"});
      QCOMPARE(field->text(), QStringLiteral("A"));
      QVERIFY(f.document().saved());
    }
  }
};

ORIVOX_TEST(TextEditingTest)
#include "TextEditingTest.moc"
