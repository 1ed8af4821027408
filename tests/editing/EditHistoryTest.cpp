// The carer's editing as stories through the window: texts entered fast, a list pasted, a big
// tab deleted and brought back, undo and redo across a save and across opening a board.
#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/TFormReglages.h"
#include "shell/TMainFrame.h"
#include "board/BoardView.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

namespace {
const QString kReserved = QStringLiteral("Désolé ce texte est réservé");

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// The buttons of a page as drawn: every piece of every text, in order.
QStringList pieces(TOnglet* page) {
  QStringList list;
  for (int i = 0; i < page->textButtonCount(); ++i)
    list << page->GetButtonCaption(i);
  return list;
}

void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  MainFrameHarness::pressKey(key, mods);
}
void undoKey() {
  press(Qt::Key_Z, Qt::ControlModifier);
}
void redoKey() {
  press(Qt::Key_Y, Qt::ControlModifier);
}

// Creation mode on the default board with a new empty tab, active.
TOnglet* newTab(MainFrameHarness& h) {
  h.enterCreationMode();
  h.frame().panel().BtnAjoutOngl->click();
  return h.frame().view().activePage();
}

bool framed(QWidget* button) {
  const QImage image = button->grab().toImage();
  return image.pixelColor(1, image.height() / 2) == QColor(0, 0, 0x80);
}
} // namespace

class EditHistoryTest : public QObject {
  Q_OBJECT
private slots:
  void tenTextsByTypingAndEnter() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    f.panel().BtnAjoutTexte->click();
    QStringList typed;
    for (int i = 1; i <= 10; ++i) {
      if (i > 1)
        press(Qt::Key_Return); // the focus stays in the name field
      typed << QStringLiteral("Mot %1").arg(i);
      MainFrameHarness::typeText(QApplication::focusWidget(), typed.last());
    }
    QCOMPARE(page->wholeTexts(), typed);
    QCOMPARE(f.view().currentText()->caption(), QStringLiteral("Mot 10"));
    // Only the chosen text wears the frame, and only while editing.
    QVERIFY(framed(f.view().currentText()));
    QVERIFY(!framed(page->textButton(8)));

    // In the name field CTRL+Z takes back the last typing there; elsewhere it undoes board
    // steps, a name typed being one step.
    press(Qt::Key_Home);
    MainFrameHarness::typeText(f.panel().EdtNomTexte, QStringLiteral("X"));
    undoKey();
    QCOMPARE(page->wholeTexts(), typed);
    f.panel().BtnAnnulerEdition->setFocus();
    undoKey();
    QCOMPARE(page->wholeTexts().last(), QStringLiteral("Texte9"));
    QCOMPARE(f.panel().EdtNomTexte->text(), QStringLiteral("Texte9"));
    undoKey();
    QCOMPARE(page->wholeTexts(), typed.mid(0, 9));
    redoKey();
    // A name typed back to what it was is no step: the next undo takes the text away.
    f.panel().EdtNomTexte->setFocus();
    f.panel().EdtNomTexte->selectAll();
    MainFrameHarness::typeText(f.panel().EdtNomTexte, QStringLiteral("Texte9"));
    f.panel().BtnAnnulerEdition->click();
    QTest::mouseClick(page->textButton(8), Qt::LeftButton);
    QVERIFY(framed(page->textButton(8)));
    h.enterExecutionMode();
    undoKey(); // nothing is undone while the board is in use
    QCOMPARE(page->wholeTexts(), typed.mid(0, 9));
    QVERIFY(!framed(page->textButton(8)));
  }

  // Each command of the panel as one step: undone, the board is as before; redone, as after.
  void everyEditUndoesAndRedoes_data() {
    QTest::addColumn<QString>("edit");
    for (const char* edit : {"add tab", "delete tab", "rename tab", "move tab", "tab pace",
                             "add text", "delete text", "rename text", "move text",
                             "move text to the next tab", "text pace", "new board", "settings"})
      QTest::newRow(edit) << QString::fromLatin1(edit);
  }
  void everyEditUndoesAndRedoes() {
    QFETCH(QString, edit);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    page->AddTexts({"A", "B", "C"});
    f.panel().BtnAjoutOngl->click();
    h.clickTab(f, 3);
    QTest::mouseClick(page->textButton(1), Qt::LeftButton);
    // Finer paces than the panel's whole seconds, which a whole-second pace replaces.
    BoardSettings finer = f.view().settings();
    finer.tabPaceMs = 500;
    finer.textPaceMs = 1500;
    f.view().setSettings(finer);
    h.fakes.fileDialogs.saveReplies = {h.path("b.ord")};
    f.panel().BtnEnr->click();
    const BoardData before = f.view().boardData();
    const QMap<QString, QPushButton*> buttons = {
        {"add tab", f.panel().BtnAjoutOngl},      {"delete tab", f.panel().BtnSupprOngl},
        {"move tab", f.panel().BtnSuivOngl},      {"add text", f.panel().BtnAjoutTexte},
        {"delete text", f.panel().BtnSupprTexte}, {"move text", f.panel().BtnAvtTexte},
        {"new board", f.panel().BtnNouveau},      {"move text to the next tab", f.panel().BtnOngletSuiv}};
    if (buttons.contains(edit))
      buttons[edit]->click();
    else if (edit == "rename tab")
      f.panel().EdtNomOnglet->setText("Repas");
    else if (edit == "rename text")
      f.panel().EdtNomTexte->setText("Boire");
    else if (edit == "settings") {
      MainFrameHarness::whenModal([](QWidget* w) {
        auto* d = qobject_cast<TFormReglages*>(w);
        d->EdtPaceTabs->setValue(2.5);
        d->ChkRowColumn->setChecked(true);
        d->BtnOK->click();
      });
      f.panel().BtnReglages->click();
    } else
      (edit == "tab pace" ? f.panel().EdtT1 : f.panel().EdtT2)->setValue(9);
    const BoardData after = f.view().boardData();
    QVERIFY(after != before);
    f.panel().BtnAnnulerEdition->click();
    QVERIFY(f.view().boardData() == before);
    QVERIFY(f.document().saved());
    f.panel().BtnRetablirEdition->click();
    QVERIFY(f.view().boardData() == after);
  }

  void pasteAList_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("one text a line, the first names the new text")
        << "Oui\r\nNon\n\nPeut-être\n"
        << QStringList{"A", "Oui", "Non", "Peut-être"} << QStringList{};
    QTest::newRow("a reserved name refuses the list")
        << "Oui\nretour\nNon" << QStringList{"A", "Texte1"} << QStringList{kReserved};
    QTest::newRow("a character the file cannot store refuses the list")
        << "Oui\nΩ\nNon" << QStringList{"A", "Texte1"}
        << QStringList{"Le caractère « Ω » ne peut pas être enregistré dans un tableau."};
  }
  void pasteAList() {
    QFETCH(QString, list);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, messages);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    page->AddText(true, "A", false);
    f.panel().BtnAjoutTexte->click();
    QApplication::clipboard()->setText(list);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(page->wholeTexts(), texts);
    QCOMPARE(h.fakes.messages.shown, messages);
    const QStringList beforePaste{"A", "Texte1"};
    f.panel().BtnAnnulerEdition->click(); // the whole list is one step
    QCOMPARE(page->wholeTexts(), texts == beforePaste ? QStringList{"A"} : beforePaste);
  }

  void deleteATabOfFortyTextsAndUndoIt() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    QStringList forty;
    for (int i = 0; i < 40; ++i)
      forty << (i % 7 == 3
                    ? QStringLiteral("une phrase bien trop longue pour une ligne ").repeated(5)
                    : QStringLiteral("Texte numéro %1").arg(i));
    page->AddTexts(forty);
    page->SplitAllTexts();
    page->ArrangeButtons();
    const int index = f.view().pageControl()->currentIndex();
    const QStringList drawn = pieces(page);
    QVERIFY(drawn.size() > 40); // the long texts are cut
    h.fakes.fileDialogs.saveReplies = {h.path("grand.ord")};
    f.panel().BtnEnr->click();
    const QByteArray saved = bytesOf(h.path("grand.ord"));

    f.panel().BtnSupprOngl->click();
    QCOMPARE(f.view().pageCount(), index);
    QVERIFY(!f.document().saved());
    QCOMPARE(bytesOf(h.path("grand.ord")), saved);
    QVERIFY(f.panel().BtnAnnulerEdition->isEnabled());
    undoKey();
    TOnglet* back = f.view().activePage();
    QCOMPARE(f.view().pageControl()->currentIndex(), index);
    QCOMPARE(back->caption(), QStringLiteral("Onglet1"));
    QCOMPARE(back->wholeTexts(), forty);
    QCOMPARE(pieces(back), drawn);
    QCOMPARE(f.panel().EdtNomOnglet->text(), QStringLiteral("Onglet1"));
    QVERIFY(f.document().saved()); // back where it was saved
    QVERIFY(f.panel().BtnRetablirEdition->isEnabled());
    redoKey();
    QCOMPARE(f.view().pageCount(), index);
    QCOMPARE(bytesOf(h.path("grand.ord")), saved);
  }

  void undoAcrossASaveAndAnOpenedBoard() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    newTab(h);
    f.panel().EdtNomOnglet->setFocus();
    f.panel().EdtNomOnglet->selectAll();
    MainFrameHarness::typeText(f.panel().EdtNomOnglet, QStringLiteral("Repas"));
    f.panel().EdtT1->setValue(7);
    h.fakes.fileDialogs.saveReplies = {h.path("repas.ord")};
    f.panel().BtnEnr->click();
    QVERIFY(f.document().saved());
    f.panel().BtnAnnulerEdition->click(); // the pace
    QVERIFY(!f.document().saved());
    QCOMPARE(f.panel().EdtT1->value(), 3);
    f.panel().BtnAnnulerEdition->click(); // the whole name typed, one step
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Onglet1"));
    f.panel().BtnRetablirEdition->click();
    f.panel().BtnRetablirEdition->click();
    QVERIFY(f.document().saved()); // redone up to the saved board: nothing to save
    QCOMPARE(f.panel().EdtT1->value(), 7);

    // Opening a board replaces this one as one step, itself saved; undoing it brings back the
    // board and its file name.
    f.panel().BtnNouveau->click();
    QVERIFY(f.document().saved());
    QCOMPARE(MainFrameHarness::tabCaptions(f).size(), 3);
    h.fakes.fileDialogs.openReplies = {h.path("repas.ord")};
    f.panel().BtnOuvrir->click();
    QCOMPARE(MainFrameHarness::tabCaptions(f).last(), QStringLiteral("Repas"));
    f.panel().BtnAnnulerEdition->click();
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
    QVERIFY(f.document().fileName().isEmpty());
    QVERIFY(f.document().saved()); // a new board untouched
    f.panel().BtnAnnulerEdition->click();
    QCOMPARE(MainFrameHarness::tabCaptions(f).last(), QStringLiteral("Repas"));
    QCOMPARE(f.document().fileName(), h.path("repas.ord"));
    QVERIFY(f.document().saved()); // the board as saved in its file
    f.panel().BtnAnnulerEdition->click();
    QVERIFY(!f.document().saved());
    for (int i = 0; i < 3; ++i)
      f.panel().BtnRetablirEdition->click();
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + h.path("repas.ord"));
    QVERIFY(f.document().saved());
  }
};

ORIVOX_TEST(EditHistoryTest)
#include "EditHistoryTest.moc"
