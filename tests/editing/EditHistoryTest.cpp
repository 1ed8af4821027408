// The carer's editing as stories through the window: texts entered fast, a list pasted, a big
// tab deleted and brought back, undo and redo across a save and across opening a board.
#include "board/TOnglet.h"
#include "editing/BoardEdits.h"
#include "editing/TFormReglages.h"
#include "shell/TMainFrame.h"
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
  h.frame().BtnAjoutOngl->click();
  return h.frame().activePage();
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
    f.BtnAjoutTexte->click();
    QStringList typed;
    for (int i = 1; i <= 10; ++i) {
      if (i > 1)
        press(Qt::Key_Return); // the focus stays in the name field
      typed << QStringLiteral("Mot %1").arg(i);
      MainFrameHarness::typeText(QApplication::focusWidget(), typed.last());
    }
    QCOMPARE(page->wholeTexts(), typed);
    QCOMPARE(f.FCurrentText->caption(), QStringLiteral("Mot 10"));
    // Only the chosen text wears the frame, and only while editing.
    QVERIFY(framed(f.FCurrentText));
    QVERIFY(!framed(page->textButton(8)));

    // In the name field CTRL+Z takes back the last typing there; elsewhere it undoes board
    // steps, a name typed being one step.
    press(Qt::Key_Home);
    MainFrameHarness::typeText(f.EdtNomTexte, QStringLiteral("X"));
    undoKey();
    QCOMPARE(page->wholeTexts(), typed);
    f.BtnAnnulerEdition->setFocus();
    undoKey();
    QCOMPARE(page->wholeTexts().last(), QStringLiteral("Texte9"));
    QCOMPARE(f.EdtNomTexte->text(), QStringLiteral("Texte9"));
    undoKey();
    QCOMPARE(page->wholeTexts(), typed.mid(0, 9));
    redoKey();
    // A name typed back to what it was is no step: the next undo takes the text away.
    f.EdtNomTexte->setFocus();
    f.EdtNomTexte->selectAll();
    MainFrameHarness::typeText(f.EdtNomTexte, QStringLiteral("Texte9"));
    f.BtnAnnulerEdition->click();
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
    f.BtnAjoutOngl->click();
    h.clickTab(f, 3);
    QTest::mouseClick(page->textButton(1), Qt::LeftButton);
    // Finer paces than the panel's whole seconds, which a whole-second pace replaces.
    f.FSettings.tabPaceMs = 500;
    f.FSettings.textPaceMs = 1500;
    h.fakes.fileDialogs.saveReplies = {h.path("b.ord")};
    f.BtnEnr->click();
    const BoardData before = boardedit::currentBoardData(f);
    const QMap<QString, QPushButton*> buttons = {
        {"add tab", f.BtnAjoutOngl},      {"delete tab", f.BtnSupprOngl},
        {"move tab", f.BtnSuivOngl},      {"add text", f.BtnAjoutTexte},
        {"delete text", f.BtnSupprTexte}, {"move text", f.BtnAvtTexte},
        {"new board", f.BtnNouveau},      {"move text to the next tab", f.BtnOngletSuiv}};
    if (buttons.contains(edit))
      buttons[edit]->click();
    else if (edit == "rename tab")
      f.EdtNomOnglet->setText("Repas");
    else if (edit == "rename text")
      f.EdtNomTexte->setText("Boire");
    else if (edit == "settings") {
      MainFrameHarness::whenModal([](QWidget* w) {
        auto* d = qobject_cast<TFormReglages*>(w);
        d->EdtPaceTabs->setValue(2.5);
        d->ChkRowColumn->setChecked(true);
        d->BtnOK->click();
      });
      f.BtnReglages->click();
    } else
      (edit == "tab pace" ? f.EdtT1 : f.EdtT2)->setValue(9);
    const BoardData after = boardedit::currentBoardData(f);
    QVERIFY(after != before);
    f.BtnAnnulerEdition->click();
    QVERIFY(boardedit::currentBoardData(f) == before);
    QVERIFY(f.FSaved);
    f.BtnRetablirEdition->click();
    QVERIFY(boardedit::currentBoardData(f) == after);
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
        << "Oui\nΩ\nNon" << QStringList{"A", "Texte1"} << QStringList{};
  }
  void pasteAList() {
    QFETCH(QString, list);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, messages);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    page->AddText(true, "A", false);
    f.BtnAjoutTexte->click();
    QApplication::clipboard()->setText(list);
    press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(page->wholeTexts(), texts);
    QCOMPARE(h.fakes.messages.shown, messages);
    const QStringList beforePaste{"A", "Texte1"};
    f.BtnAnnulerEdition->click(); // the whole list is one step
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
    const int index = f.PageControl->currentIndex();
    const QStringList drawn = pieces(page);
    QVERIFY(drawn.size() > 40); // the long texts are cut
    h.fakes.fileDialogs.saveReplies = {h.path("grand.ord")};
    f.BtnEnr->click();
    const QByteArray saved = bytesOf(h.path("grand.ord"));

    f.BtnSupprOngl->click();
    QCOMPARE(f.pageCount(), index);
    QVERIFY(!f.FSaved);
    QCOMPARE(bytesOf(h.path("grand.ord")), saved);
    QVERIFY(f.BtnAnnulerEdition->isEnabled());
    undoKey();
    TOnglet* back = f.activePage();
    QCOMPARE(f.PageControl->currentIndex(), index);
    QCOMPARE(back->caption(), QStringLiteral("Onglet1"));
    QCOMPARE(back->wholeTexts(), forty);
    QCOMPARE(pieces(back), drawn);
    QCOMPARE(f.EdtNomOnglet->text(), QStringLiteral("Onglet1"));
    QVERIFY(f.FSaved); // back where it was saved
    QVERIFY(f.BtnRetablirEdition->isEnabled());
    redoKey();
    QCOMPARE(f.pageCount(), index);
    QCOMPARE(bytesOf(h.path("grand.ord")), saved);
  }

  void undoAcrossASaveAndAnOpenedBoard() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    newTab(h);
    f.EdtNomOnglet->setFocus();
    f.EdtNomOnglet->selectAll();
    MainFrameHarness::typeText(f.EdtNomOnglet, QStringLiteral("Repas"));
    f.EdtT1->setValue(7);
    h.fakes.fileDialogs.saveReplies = {h.path("repas.ord")};
    f.BtnEnr->click();
    QVERIFY(f.FSaved);
    f.BtnAnnulerEdition->click(); // the pace
    QVERIFY(!f.FSaved);
    QCOMPARE(f.EdtT1->value(), 3);
    f.BtnAnnulerEdition->click(); // the whole name typed, one step
    QCOMPARE(f.activePage()->caption(), QStringLiteral("Onglet1"));
    f.BtnRetablirEdition->click();
    f.BtnRetablirEdition->click();
    QVERIFY(f.FSaved); // redone up to the saved board: nothing to save
    QCOMPARE(f.EdtT1->value(), 7);

    // Opening a board replaces this one as one step, itself saved; undoing it brings back the
    // board and its file name.
    f.BtnNouveau->click();
    QVERIFY(f.FSaved);
    QCOMPARE(MainFrameHarness::tabCaptions(f).size(), 3);
    h.fakes.fileDialogs.openReplies = {h.path("repas.ord")};
    f.BtnOuvrir->click();
    QCOMPARE(MainFrameHarness::tabCaptions(f).last(), QStringLiteral("Repas"));
    f.BtnAnnulerEdition->click();
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0"));
    QVERIFY(f.FFileName.isEmpty());
    QVERIFY(f.FSaved); // a new board untouched
    f.BtnAnnulerEdition->click();
    QCOMPARE(MainFrameHarness::tabCaptions(f).last(), QStringLiteral("Repas"));
    QCOMPARE(f.FFileName, h.path("repas.ord"));
    QVERIFY(f.FSaved); // the board as saved in its file
    f.BtnAnnulerEdition->click();
    QVERIFY(!f.FSaved);
    for (int i = 0; i < 3; ++i)
      f.BtnRetablirEdition->click();
    QCOMPARE(f.windowTitle(), QStringLiteral("Orivox v1.0 : ") + h.path("repas.ord"));
    QVERIFY(f.FSaved);
  }
};

ORIVOX_TEST(EditHistoryTest)
#include "EditHistoryTest.moc"
