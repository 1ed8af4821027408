// The carer's editing as stories through the window: texts entered fast, a list pasted, a big
// tab deleted and brought back, undo and redo across a save and across opening a board.
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardFile.h"
#include "editing/BoardEdits.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "editing/TFormReglages.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
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

// A picture named by its licence; `bytes` long when given (its name first, so that no two are
// the same), as the board file's bounds count it.
BoardPicture picture(const QString& name, qsizetype bytes = 0) {
  QByteArray data = name.toUtf8();
  if (bytes > data.size())
    data += QByteArray(bytes - data.size(), 'x');
  return BoardPicture{data, QStringLiteral("image/png"), name};
}

// "Tab:text=picture" for every text of the board that has a picture, in order.
QStringList picturedTexts(const BoardData& d) {
  QStringList list;
  for (const BoardTab& tab : d.tabs)
    for (qsizetype t = 0; t < tab.texts.size(); ++t)
      if (const BoardPicture* p = tab.pictureOf(t))
        list << tab.caption + ':' + tab.texts[t] + '=' + p->licence;
  return list;
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
  // From texts A, B and C of tab Onglet1, A and B with a picture each, B chosen; every picture
  // follows its text, and the board saved after the edit opens again the same.
  void everyEditUndoesAndRedoes_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QStringList>("pictures"); // after the edit
    const QStringList as = {"Onglet1:A=a", "Onglet1:B=b"};
    for (const char* edit :
         {"add tab", "move tab", "tab pace", "add text", "text pace", "settings", "picture label"})
      QTest::newRow(edit) << QString::fromLatin1(edit) << as;
    QTest::newRow("delete tab") << "delete tab" << QStringList{};
    QTest::newRow("rename tab") << "rename tab" << QStringList{"Repas:A=a", "Repas:B=b"};
    QTest::newRow("delete text") << "delete text" << QStringList{"Onglet1:A=a"};
    QTest::newRow("rename text") << "rename text" << QStringList{"Onglet1:A=a", "Onglet1:Boire=b"};
    QTest::newRow("move text") << "move text" << QStringList{"Onglet1:B=b", "Onglet1:A=a"};
    QTest::newRow("move text to the next tab")
        << "move text to the next tab" << QStringList{"Onglet1:A=a", "Onglet2:B=b"};
    QTest::newRow("new board") << "new board" << QStringList{};
    QTest::newRow("picture chosen")
        << "picture chosen" << QStringList{"Onglet1:A=a", "Onglet1:B=c"};
    QTest::newRow("picture taken away") << "picture taken away" << QStringList{"Onglet1:A=a"};
    QTest::newRow("pictures for the tab")
        << "pictures for the tab" << QStringList{"Onglet1:A=a", "Onglet1:B=b", "Onglet1:C=t"};
  }
  void everyEditUndoesAndRedoes() {
    QFETCH(QString, edit);
    QFETCH(QStringList, pictures);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    page->AddTexts({"A", "B", "C"}, {picture("a"), picture("b")});
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
        {"add tab", f.panel().BtnAjoutOngl},
        {"delete tab", f.panel().BtnSupprOngl},
        {"move tab", f.panel().BtnSuivOngl},
        {"add text", f.panel().BtnAjoutTexte},
        {"delete text", f.panel().BtnSupprTexte},
        {"move text", f.panel().BtnAvtTexte},
        {"new board", f.panel().BtnNouveau},
        {"move text to the next tab", f.panel().BtnOngletSuiv},
        {"picture chosen", f.panel().BtnImageTexte},
        {"picture taken away", f.panel().BtnRetirerImage},
        {"pictures for the tab", f.panel().BtnImagesOnglet}};
    h.fakes.pictures.replies = {picture("c")};
    h.fakes.pictures.best = {{"A", picture("z")}, {"C", picture("t")}}; // A keeps its own
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
    } else if (edit == "picture label") {
      MainFrameHarness::whenModal([](QWidget* w) {
        auto* d = qobject_cast<TFormReglages*>(w);
        d->CbxPictureLabel->setCurrentIndex(2);
        d->BtnOK->click();
      });
      f.panel().BtnReglages->click();
      QCOMPARE(f.view().settings().pictureLabel, PictureLabel::Hidden);
    } else
      (edit == "tab pace" ? f.panel().EdtT1 : f.panel().EdtT2)->setValue(9);
    const BoardData after = f.view().boardData();
    QVERIFY(after != before);
    QCOMPARE(picturedTexts(after), pictures);
    f.panel().BtnAnnulerEdition->click();
    QVERIFY(f.view().boardData() == before);
    QVERIFY(f.document().saved());
    f.panel().BtnRetablirEdition->click();
    QVERIFY(f.view().boardData() == after);

    // Saved and opened again, the board is the same, pictures and their labels' place with it.
    h.fakes.fileDialogs.saveReplies = {h.path("after.ord")};
    f.panel().BtnEnrSous->click();
    h.fakes.fileDialogs.openReplies = {h.path("after.ord")};
    f.panel().BtnOuvrir->click();
    QCOMPARE(f.view().boardData().tabs, after.tabs);
    BoardSettings opened = f.view().boardData().settings;
    opened.storedBlock = after.settings.storedBlock; // the block as read, kept for the next save
    QCOMPARE(opened, after.settings);
    // Without pictures the file holds no pictures block: what older versions wrote, byte for byte.
    QCOMPARE(bytesOf(h.path("after.ord")).contains("#OrivoxPictures"), !pictures.isEmpty());
  }

  // The three picture buttons on tab Onglet1. `texts`: "A=a,B" (a text with the picture a, one
  // without; "=big" a picture of 1 MiB); `best`: what the built-in set finds for each text;
  // `reply`: the chooser's answer ("" cancels; "huge" is past the bound of one picture);
  // `others`: pictures of 1 MiB each on another tab, to reach the bound on all pictures.
  void pictureButtons_data() {
    QTest::addColumn<QString>("texts");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("best");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<int>("others");
    QTest::addColumn<QStringList>("pictures"); // the tab's texts with a picture, after
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("step"); // one undo step made
    const QString one = QStringLiteral("Une image ne peut pas dépasser 1 Mo");
    const QString all =
        QStringLiteral("Les images d'un tableau ne peuvent pas dépasser 64 Mo en tout");
    using L = QStringList;
    QTest::newRow("chosen for a text without one") << "A,B" << 1 << "image"
                                                   << ""
                                                   << "p" << 0 << L{"B=p"} << L{} << true;
    QTest::newRow("chosen in place of another") << "A,B=b" << 1 << "image"
                                                << ""
                                                << "p" << 0 << L{"B=p"} << L{} << true;
    QTest::newRow("chooser cancelled") << "A,B=b" << 1 << "image"
                                       << ""
                                       << "" << 0 << L{"B=b"} << L{} << false;
    QTest::newRow("the same picture again") << "A,B=b" << 1 << "image"
                                            << ""
                                            << "b" << 0 << L{"B=b"} << L{} << false;
    QTest::newRow("a picture past its bound") << "A,B" << 1 << "image"
                                              << ""
                                              << "huge" << 0 << L{} << L{one} << false;
    QTest::newRow("pictures past their bound in all") << "A,B" << 1 << "image"
                                                      << ""
                                                      << "p" << 64 << L{} << L{all} << false;
    QTest::newRow("the picture replaced counts no more") << "A,B=big" << 1 << "image"
                                                         << ""
                                                         << "p" << 63 << L{"B=p"} << L{} << true;
    QTest::newRow("no text chosen: nothing to give") << "A,B" << -1 << "image"
                                                     << ""
                                                     << "p" << 0 << L{} << L{} << false;
    QTest::newRow("taken away") << "A=a,B=b" << 1 << "retirer"
                                << ""
                                << "" << 0 << L{"A=a"} << L{} << true;
    QTest::newRow("nothing to take away") << "A=a,B" << 1 << "retirer"
                                          << ""
                                          << "" << 0 << L{"A=a"} << L{} << false;
    QTest::newRow("tab: found for some")
        << "A=a,B,C,D" << -1 << "onglet"
        << "A=x,B=x,C=y"
        << "" << 0 << L{"A=a", "B=x", "C=y"}
        << L{"2 textes ont reçu une image ; 1 n'a trouvé aucune image."} << true;
    QTest::newRow("tab: found for all")
        << "A,B" << -1 << "onglet"
        << "A=x,B=y"
        << "" << 0 << L{"A=x", "B=y"} << L{"2 textes ont reçu une image."} << true;
    QTest::newRow("tab: one found, one not")
        << "A,B" << -1 << "onglet"
        << "A=x"
        << "" << 0 << L{"A=x"} << L{"1 texte a reçu une image ; 1 n'a trouvé aucune image."}
        << true;
    QTest::newRow("tab: none found")
        << "A,B" << -1 << "onglet"
        << ""
        << "" << 0 << L{} << L{"Aucun texte n'a reçu d'image ; 2 n'ont trouvé aucune image."}
        << false;
    QTest::newRow("tab: every text has one")
        << "A=a" << -1 << "onglet"
        << "A=x"
        << "" << 0 << L{"A=a"} << L{"Tous les textes de l'onglet ont déjà une image."} << false;
    QTest::newRow("tab: no text") << "" << -1 << "onglet"
                                  << ""
                                  << "" << 0 << L{} << L{"L'onglet n'a aucun texte."} << false;
    QTest::newRow("tab: past the bound in all") << "A,B" << -1 << "onglet"
                                                << "A=x"
                                                << "" << 64 << L{} << L{all} << false;
    QTest::newRow("tab: the letters are no texts to edit") << "@Alphabet" << -1 << "onglet"
                                                           << "a=x"
                                                           << "" << 0 << L{} << L{} << false;
  }
  void pictureButtons() {
    QFETCH(QString, texts);
    QFETCH(int, chosen);
    QFETCH(QString, button);
    QFETCH(QString, best);
    QFETCH(QString, reply);
    QFETCH(int, others);
    QFETCH(QStringList, pictures);
    QFETCH(QStringList, messages);
    QFETCH(bool, step);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    const auto named = [](const QString& name) {
      return name == "big"    ? picture(name, boardfile::kMaxPictureBytes)
             : name == "huge" ? picture(name, boardfile::kMaxPictureBytes + 1)
                              : picture(name);
    };
    QStringList others1Mb;
    QList<BoardPicture> othersPictures;
    for (int i = 0; i < others; ++i) {
      others1Mb << QStringLiteral("grand %1").arg(i);
      othersPictures << picture(others1Mb.last(), boardfile::kMaxPictureBytes);
    }
    f.view().pageAt(0)->AddTexts(others1Mb, othersPictures);
    TOnglet* page = newTab(h);
    QStringList captions;
    QList<BoardPicture> given;
    for (const QString& text : texts.split(',', Qt::SkipEmptyParts)) {
      captions << text.section('=', 0, 0);
      given << (text.contains('=') ? named(text.section('=', 1)) : BoardPicture());
    }
    if (texts == "@Alphabet") {
      h.clickTab(f, 1);
      page = f.view().activePage();
    } else {
      page->AddTexts(captions, given);
    }
    if (chosen >= 0)
      QTest::mouseClick(page->textButton(chosen), Qt::LeftButton);
    for (const QString& pair : best.split(',', Qt::SkipEmptyParts))
      h.fakes.pictures.best[pair.section('=', 0, 0)] = picture(pair.section('=', 1));
    if (!reply.isEmpty())
      h.fakes.pictures.replies = {named(reply)};
    const auto shown = [page] {
      QStringList list;
      for (int t = 0; t < page->model().textCount(); ++t)
        if (page->model().hasPicture(t))
          list << page->model().text(t) + '=' + page->model().picture(t).licence;
      return list;
    };
    const QStringList before = shown();
    const BoardData board = f.view().boardData();
    const int steps = f.panel().history().stack().count();
    // "Retirer l'image" only where there is a picture to take away.
    QCOMPARE(f.panel().BtnRetirerImage->isEnabled(),
             chosen >= 0 && page->model().hasPicture(chosen));
    QCOMPARE(f.panel().BtnImageTexte->isEnabled(), chosen >= 0);
    QCOMPARE(f.panel().BtnImagesOnglet->isEnabled(), texts != "@Alphabet");

    const QMap<QString, QPushButton*> buttons = {{"image", f.panel().BtnImageTexte},
                                                 {"retirer", f.panel().BtnRetirerImage},
                                                 {"onglet", f.panel().BtnImagesOnglet}};
    buttons[button]->click();
    QCOMPARE(shown(), pictures);
    QCOMPARE(h.fakes.messages.shown, messages);
    QCOMPARE(f.panel().history().stack().count(), steps + (step ? 1 : 0));
    if (button == "image")
      QCOMPARE(h.fakes.pictures.chooserCaptions,
               chosen >= 0 ? QStringList{captions[chosen]} : QStringList{});
    QCOMPARE(f.panel().BtnRetirerImage->isEnabled(),
             chosen >= 0 && page->model().hasPicture(chosen));
    if (!step) {
      QVERIFY(f.view().boardData() == board);
      return;
    }
    f.panel().BtnAnnulerEdition->click(); // one step, whatever the number of texts
    QCOMPARE(shown(), before);
    QVERIFY(f.view().boardData() == board);
    f.panel().BtnRetablirEdition->click();
    QCOMPARE(shown(), pictures);
  }

  // "Ranger par fréquence" on a tab of the 26 letters and the space in a grid of `columns`
  // columns, e and z with a picture each: the order after, as one step undone and redone.
  void lettersByFrequency_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QStringList>("placed");
    QTest::addColumn<QStringList>("messages");
    QStringList alphabet;
    for (char c = 'a'; c <= 'z'; ++c)
      alphabet << QString(QLatin1Char(c));
    alphabet << QStringLiteral(" ");
    // Row by row: the space and e in the two cells reached first, then a, i and s; f, h and v,
    // as frequent as one another, in the alphabet's order.
    const QStringList sixColumns =
        QStringList{" ", "e", "i", "r", "u", "g"} + QStringList{"a", "s", "t", "d", "b", "q"} +
        QStringList{"n", "o", "c", "f", "y", "k"} + QStringList{"l", "m", "h", "x", "w", "z"} +
        QStringList{"p", "v", "j"};
    QTest::newRow("six columns") << alphabet << 6 << sixColumns << QStringList{};
    QTest::newRow("nine columns") << alphabet << 9
                                  << QStringList{" ", "e", "i", "r", "l", "c", "g", "h", "y"} +
                                         QStringList{"a", "s", "t", "u", "m", "b", "v", "x", "k"} +
                                         QStringList{"n", "o", "d", "p", "f", "q", "j", "w", "z"}
                                  << QStringList{};
    QTest::newRow("already in that order")
        << sixColumns << 6 << sixColumns
        << QStringList{QStringLiteral("Les textes sont déjà rangés par fréquence.")};
  }
  void lettersByFrequency() {
    QFETCH(QStringList, texts);
    QFETCH(int, columns);
    QFETCH(QStringList, placed);
    QFETCH(QStringList, messages);
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    TOnglet* page = newTab(h);
    BoardSettings grid = f.view().settings();
    grid.gridColumns = columns;
    f.view().setSettings(grid);
    f.view().applyLayoutSettings();
    QList<BoardPicture> pictures;
    for (const QString& t : texts)
      pictures << (t == "e" || t == "z" ? picture(QStringLiteral("p") + t) : BoardPicture());
    page->AddTexts(texts, pictures);
    // Offered on tabs of letters only: not on the empty "Divers", on the reserved Alphabet.
    h.clickTab(f, 0);
    QVERIFY(!f.panel().BtnRangerFrequence->isEnabled());
    h.clickTab(f, 1);
    QVERIFY(f.panel().BtnRangerFrequence->isEnabled());
    h.clickTab(f, 3);
    QVERIFY(f.panel().BtnRangerFrequence->isEnabled());
    const BoardData before = f.view().boardData();

    f.panel().BtnRangerFrequence->click();
    QCOMPARE(page->wholeTexts(), placed);
    QCOMPARE(h.fakes.messages.shown, messages);
    for (const QString& t : {QStringLiteral("e"), QStringLiteral("z")})
      QCOMPARE(page->model().picture(int(placed.indexOf(t))).licence, QStringLiteral("p") + t);
    QCOMPARE(page->model().pictures().count(BoardPicture()), texts.size() - 2);
    const BoardData after = f.view().boardData();
    f.panel().BtnAnnulerEdition->click();
    if (messages.isEmpty()) { // one step: one undo brings the whole order back
      QVERIFY(f.view().boardData() == before);
      QCOMPARE(page->wholeTexts(), texts);
      QCOMPARE(page->model().picture(int(texts.indexOf("e"))).licence, QStringLiteral("pe"));
      f.panel().BtnRetablirEdition->click();
      QVERIFY(f.view().boardData() == after);
    } else { // nothing changed, and no step was made: the undo takes the new tab away
      QCOMPARE(f.view().pageCount(), 3);
    }
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
