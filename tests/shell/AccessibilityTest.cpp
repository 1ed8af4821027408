// What assistive technologies find in the window and its dialogs: a name for every control, names
// that say what each control is, and the item lit by the scan heard as current at each step.
#include "about/TAboutBox.h"
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "documents/BoardSettings.h"
#include "documents/TFormChangeMdp.h"
#include "documents/TFormMdp.h"
#include "editing/CreationPanel.h"
#include "editing/PictureChooserDialog.h"
#include "editing/TFormFont.h"
#include "editing/TFormReglages.h"
#include "execution/DisplayArea.h"
#include "execution/ScanSession.h"
#include "shell/TMainFrame.h"
#include "support/AccessibleTree.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>
#include <QTextEdit>
#include <memory>

namespace {
// A dialog of the program, built as the window builds it.
std::unique_ptr<QWidget> dialogNamed(const QString& which, FakeServices& fakes,
                                     PictureIconCache& icons) {
  if (which == "réglages")
    return std::make_unique<TFormReglages>(&fakes.speech, nullptr, nullptr, &fakes.messages);
  if (which == "apparence")
    return std::make_unique<TFormFont>(&fakes.colorChooser);
  if (which == "mot de passe")
    return std::make_unique<TFormMdp>();
  if (which == "nouveau mot de passe")
    return std::make_unique<TFormChangeMdp>(&fakes.messages);
  if (which == "à propos")
    return std::make_unique<TAboutBox>();
  if (which == "images")
    return std::make_unique<PictureChooserDialog>(QStringLiteral("bonjour"), nullptr,
                                                  QStringLiteral("Aucune image."),
                                                  &fakes.fileDialogs, &fakes.messages, &icons);
  return nullptr;
}
} // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT
private slots:
  void noControlOfTheWindowUnnamed_data() {
    QTest::addColumn<bool>("creation");
    QTest::newRow("scanning") << false;
    QTest::newRow("creation mode, the panel shown") << true;
  }
  void noControlOfTheWindowUnnamed() {
    QFETCH(bool, creation);
    MainFrameHarness h;
    if (creation)
      h.enterCreationMode();
    // The letter tab shows its suggestion slots, blank ones included.
    h.frame().view().setSuggestionSlots(3);
    h.frame().view().showSuggestions({QStringLiteral("bonjour")});
    for (int i = 0; i < h.frame().view().pageCount(); ++i) {
      h.frame().view().showTab(i);
      QCOMPARE(testsupport::unnamedControls(&h.frame()).join("|"), QString());
    }
  }

  void noControlOfADialogUnnamed_data() {
    QTest::addColumn<QString>("dialog");
    for (const char* d :
         {"réglages", "apparence", "mot de passe", "nouveau mot de passe", "à propos", "images"})
      QTest::newRow(d) << QString::fromUtf8(d);
  }
  void noControlOfADialogUnnamed() {
    QFETCH(QString, dialog);
    FakeServices fakes;
    PictureIconCache icons;
    const auto d = dialogNamed(dialog, fakes, icons);
    QVERIFY(d);
    d->show();
    QCOMPARE(testsupport::unnamedControls(d.get()), QStringList());
  }

  // The names a screen reader says: what the control is, not the box it sits in.
  void namesSayWhatEachControlIs_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::newRow("display area") << "window"
                                  << "Memo"
                                  << "Zone d'affichage";
    QTest::newRow("focus holder") << "window"
                                  << "Buttoncache"
                                  << "Défilement des onglets";
    QTest::newRow("tab name") << "window"
                              << "EdtNomOnglet"
                              << "Nom de l'onglet";
    QTest::newRow("text name") << "window"
                               << "EdtNomTexte"
                               << "Nom du texte";
    QTest::newRow("tab pace") << "window"
                              << "EdtT1"
                              << "Temps chenillard des onglets";
    QTest::newRow("text pace") << "window"
                               << "EdtT2"
                               << "Temps chenillard des textes";
    QTest::newRow("add a tab") << "window"
                               << "BtnAjoutOngl"
                               << "Ajouter un onglet";
    QTest::newRow("add a text") << "window"
                                << "BtnAjoutTexte"
                                << "Ajouter un texte";
    QTest::newRow("move a tab") << "window"
                                << "BtnAvtOngl"
                                << "Déplacer l'onglet vers la gauche";
    QTest::newRow("finer tab pace, from its label") << "réglages"
                                                    << "EdtPaceTabs"
                                                    << "Temps chenillard des onglets";
    QTest::newRow("loops, from its label") << "réglages"
                                           << "EdtLoops"
                                           << "Tours sans choix avant le retour aux onglets";
    QTest::newRow("prompts over a screen reader")
        << "réglages"
        << "ChkPromptsWithScreenReader"
        << "Dire les noms même quand un lecteur d'écran fonctionne";
  }
  void namesSayWhatEachControlIs() {
    QFETCH(QString, where);
    QFETCH(QString, object);
    QFETCH(QString, name);
    MainFrameHarness h;
    FakeServices fakes;
    PictureIconCache icons;
    const auto dialog = where == "window" ? nullptr : dialogNamed(where, fakes, icons);
    QWidget* root = dialog ? dialog.get() : &h.frame();
    auto* control = root->findChild<QWidget*>(object);
    QVERIFY2(control, qPrintable(object));
    QCOMPARE(testsupport::accessibleName(control), name);
  }

  // Captions heard as nothing get a name: the space key, a suggestion slot left blank, and the
  // signs a screen reader may not read.
  void buttonsWithoutWordsAreNamed() {
    MainFrameHarness h;
    BoardView& view = h.frame().view();
    view.setSuggestionSlots(5);
    view.showSuggestions(
        {QStringLiteral("bonjour"), QStringLiteral("."), QStringLiteral("?"), QStringLiteral("!")});
    TOnglet* letters = view.pageNamed(QStringLiteral("Alphabet"));
    QVERIFY(letters);
    QStringList heard;
    for (int i = 0; i < letters->itemCount(); ++i)
      heard << testsupport::accessibleName(letters->itemButton(i));
    QCOMPARE(heard.mid(0, 5), (QStringList{"bonjour", "Point", "Point d'interrogation",
                                           "Point d'exclamation", "Aucun mot proposé"}));
    QVERIFY(heard.contains(QStringLiteral("Espace")));
    QVERIFY(!heard.contains(QStringLiteral(" ")));
  }

  // At each step a screen reader hears the item lit: the tabs, then from the first text on the
  // texts of the tab chosen, then the tab again after RETOUR; never the focus holder.
  void theLitItemIsHeardAtEachStep() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    testsupport::FocusEventRecorder recorder;
    const auto lastHeard = [&] {
      QCoreApplication::processEvents();
      return recorder.names().isEmpty() ? QString() : recorder.names().last();
    };
    QStringList lit;
    for (int step = 0; step < 3; ++step) {
      f.session().TimerT1Timer();
      lit << f.view().activePage()->caption();
      QCOMPARE(lastHeard(), lit.last());
      QCOMPARE(testsupport::accessibleName(f.view().tabBar(), f.view().tabBar()->highlighted()),
               lit.last());
    }
    QCOMPARE(recorder.names(), lit);

    recorder.clear();
    MainFrameHarness::pressSwitch();
    TOnglet* page = f.view().activePage();
    for (int step = 0; step < 4; ++step) {
      f.session().TimerT2Timer();
      QCOMPARE(lastHeard(), page->GetCurrentText());
    }
    QCOMPARE(recorder.names().first(), page->GetTextAt(0)); // the first text is not skipped

    QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("RETOUR")));
    recorder.clear();
    MainFrameHarness::pressSwitch();
    QVERIFY(f.session().tabScanning());
    QCOMPARE(lastHeard(), f.view().activePage()->caption());
    QVERIFY(!recorder.names().contains(QStringLiteral("Buttoncache")));
  }

  // Row-column scanning lights a whole row: it is heard by its first text, as the prompts name
  // it; the row chosen, its texts are heard one by one.
  void aLitRowIsHeardByItsFirstText() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    h.enterCreationMode();
    BoardSettings s = f.view().settings();
    s.rowColumn = true;
    f.view().setSettings(s);
    h.enterExecutionMode();
    testsupport::FocusEventRecorder recorder;
    for (int i = 0; i < 20 && f.view().activePage()->caption() != QStringLiteral("Alphabet"); ++i)
      f.session().TimerT1Timer();
    QCOMPARE(f.view().activePage()->caption(), QStringLiteral("Alphabet"));
    // Chosen before the tab could be told of: the texts are heard, never the tab after them.
    MainFrameHarness::pressSwitch();
    TOnglet* page = f.view().activePage();
    const auto& rows = page->layoutRows();
    QVERIFY(rows.size() >= 2);
    f.session().TimerT2Timer();
    QCoreApplication::processEvents();
    QCOMPARE(recorder.names().last(), page->GetTextAt(rows[0].first));
    f.session().TimerT2Timer();
    QCoreApplication::processEvents();
    QCOMPARE(recorder.names().last(), page->GetTextAt(rows[1].first));
    MainFrameHarness::pressSwitch(); // the second row chosen: its first text is lit
    f.session().TimerT2Timer();
    QCoreApplication::processEvents();
    QCOMPARE(recorder.names().last(), page->GetCurrentText());
  }

  // The display area reads through the text interface, the switch still cannot type into it,
  // and the caret sits on the phrase being written.
  void theDisplayAreaReadsWithThePhraseAtTheCaret() {
    MainFrameHarness h;
    TMainFrame& f = h.frame();
    QTextEdit* memo = f.session().display().widget();
    QCOMPARE(memo->textInteractionFlags(), Qt::NoTextInteraction);
    QCOMPARE(memo->focusPolicy(), Qt::NoFocus);
    for (int i = 0; i < 20 && f.view().activePage()->caption() != QStringLiteral("Alphabet"); ++i)
      f.session().TimerT1Timer();
    for (const QString& letter : {QStringLiteral("b"), QStringLiteral("a")}) {
      MainFrameHarness::pressSwitch();
      QVERIFY(MainFrameHarness::stepTo(f, letter));
      MainFrameHarness::pressSwitch();
      if (letter == QStringLiteral("b")) {
        QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("VALIDATION")));
        MainFrameHarness::pressSwitch();
        QVERIFY(MainFrameHarness::stepTo(f, QStringLiteral("RETOUR")));
        MainFrameHarness::pressSwitch();
      }
    }
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(memo);
    QVERIFY(iface && iface->textInterface());
    QAccessibleTextInterface* text = iface->textInterface();
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Zone d'affichage"));
    QVERIFY(iface->state().readOnly);
    QCOMPARE(text->text(0, text->characterCount()), memo->toPlainText());
    int start = 0, end = 0;
    const QString caretLine =
        text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end);
    // A phrase begins with a capital; the validated one lies on a line before.
    QCOMPARE(caretLine.trimmed(), QStringLiteral("A"));
    QVERIFY(start > 0);
    QCOMPARE(text->textAtOffset(0, QAccessible::LineBoundary, &start, &end).trimmed(),
             QStringLiteral("B"));
  }
};

ORIVOX_TEST(AccessibilityTest)
#include "AccessibilityTest.moc"
