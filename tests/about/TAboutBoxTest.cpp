// The about box against the facts it states: the version the window shows, the keys the switch
// accepts, the shortcuts and the modes they act in, the board's reserved tabs and texts; that
// the user sees every line of it, and that OK closes it.
#include "about/TAboutBox.h"
#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "platform/SwitchKeys.h"
#include "shell/TMainFrame.h"
#include "support/MainFrameHarness.h"
#include "support/TestRegistry.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

namespace {
// The letters whose CTRL shortcut does something in the given mode: a dialog opens, the mode
// changes, or a file is asked for.
QSet<char> actingShortcuts(bool creationMode) {
  MainFrameHarness h;
  TMainFrame& f = h.frame();
  QSet<char> acting;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (creationMode && f.view().execMode())
      h.enterCreationMode();
    h.fakes.fileDialogs.openFilters.clear();
    h.fakes.fileDialogs.saveFilters.clear();
    bool dialog = false;
    QTimer::singleShot(0, [&dialog] {
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog = true;
        modal->reject();
      }
    });
    // Something to undo and something to redo, so that either shortcut would show.
    int history = -1;
    if (!f.view().execMode()) {
      f.panel().BtnAjoutOnglClick();
      f.panel().BtnAjoutOnglClick();
      (&f.panel().history())->stack().undo();
      history = (&f.panel().history())->stack().index();
    }
    const bool execBefore = f.view().execMode();
    h.pressKey(Qt::Key_A + (letter - 'A'), Qt::ControlModifier);
    QCoreApplication::processEvents();
    h.reactivate();
    if (dialog || f.view().execMode() != execBefore || !h.fakes.fileDialogs.openFilters.isEmpty() ||
        !h.fakes.fileDialogs.saveFilters.isEmpty() ||
        (history >= 0 && (&f.panel().history())->stack().index() != history))
      acting << letter;
  }
  return acting;
}

QStringList namesOf(const QList<QPair<QString, QString>>& lines) {
  QStringList names;
  for (const auto& line : lines)
    names << line.first;
  return names;
}
} // namespace

class TAboutBoxTest : public QObject {
  Q_OBJECT
private slots:
  void namesTheProgramAndTheVersionTheWindowShows() {
    MainFrameHarness h;
    QCOMPARE(h.frame().windowTitle(),
             TAboutBox::programName() + QStringLiteral(" v") + TAboutBox::programVersion());
    TAboutBox box;
    auto* name = box.findChild<QLabel*>(QStringLiteral("ProgramName"));
    QVERIFY(name);
    QCOMPARE(name->text(), QStringLiteral("Orivox, version 1.0"));
  }

  void switchKeysAreTheOnesThatAct() {
    QSet<int> listed;
    for (const TAboutBox::SwitchKeyGroup& group : TAboutBox::switchKeys())
      for (const auto& [key, modifiers] : group.keys) {
        const int code = switchkeys::virtualKeyCode(key, modifiers);
        QVERIFY2(switchkeys::isSwitchKey(code), qPrintable(group.name));
        listed << code;
      }
    QSet<int> accepted;
    for (int code = 0; code < 256; ++code)
      if (switchkeys::isSwitchKey(code))
        accepted << code;
    QCOMPARE(listed, accepted);
    // The one keypad key it leaves out: 5 with Num Lock off.
    QVERIFY(
        !switchkeys::isSwitchKey(switchkeys::virtualKeyCode(Qt::Key_Clear, Qt::KeypadModifier)));
  }

  void shortcutsActInTheModeListed_data() {
    QTest::addColumn<bool>("creationMode");
    QTest::newRow("execution mode") << false;
    QTest::newRow("creation mode") << true;
  }
  void shortcutsActInTheModeListed() {
    QFETCH(bool, creationMode);
    QSet<char> listed;
    for (const TAboutBox::Shortcut& s : TAboutBox::shortcuts())
      if ((s.mode == TAboutBox::Mode::Creation) == creationMode)
        listed << s.letter;
    QCOMPARE(actingShortcuts(creationMode), listed);
  }

  void reservedTabsAndTextsAreTheBoardsOwn() {
    MainFrameHarness h; // the default board
    QStringList reservedTabs;
    for (const QString& caption : MainFrameHarness::tabCaptions(h.frame()))
      if (BoardView::isReservedTabCaption(caption))
        reservedTabs << caption;
    QCOMPARE(namesOf(TAboutBox::reservedTabs()), reservedTabs);
    const TOnglet* page = h.frame().view().pages().first();
    QStringList reservedTexts;
    for (int i = page->textButtonCount(); i < page->GetButtonCount(); ++i)
      reservedTexts << page->GetButtonCaption(i);
    QStringList listed = namesOf(TAboutBox::reservedTexts());
    listed.sort();
    reservedTexts.sort();
    QCOMPARE(listed, reservedTexts);
  }

  void everyEntryIsShown() {
    TAboutBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("A propos"));
    QCOMPARE(box.OKButton->text(), QStringLiteral("OK"));
    box.show();
    QStringList shown;
    for (QLabel* l : box.findChildren<QLabel*>())
      if (l->isVisible())
        shown << l->text();
    for (const auto& [key, explanation] : TAboutBox::entries()) {
      QVERIFY2(shown.contains(key), qPrintable(key));
      QVERIFY2(shown.contains(explanation), qPrintable(explanation));
    }
    // The built-in pictures' authors, licence and address, and where their French names come
    // from, as the licences of both ask.
    const QStringList credits = {
        QStringLiteral("Crédits"),
        QStringLiteral("Images : OpenMoji – le projet open source d'emojis et d'icônes, licence "
                       "CC BY-SA 4.0"),
        QStringLiteral("https://openmoji.org/"),
        QStringLiteral("Noms français des images : Unicode CLDR, licence Unicode")};
    for (const QString& line : credits)
      QVERIFY2(shown.contains(line), qPrintable(line));
    // Nothing is cut off, and the box fits a 1024-pixel screen.
    for (QLabel* l : box.findChildren<QLabel*>())
      QVERIFY2(l->width() >= l->sizeHint().width(), qPrintable(l->text()));
    QVERIFY(box.width() <= 1024);
  }

  void okCloses() {
    TAboutBox box;
    bool timedOut = false;
    QTimer::singleShot(0, &box, [&] { QTest::mouseClick(box.OKButton, Qt::LeftButton); });
    QTimer::singleShot(10000, &box, [&] {
      timedOut = true;
      box.done(-1);
    });
    const int r = box.exec();
    QVERIFY(!timedOut);
    QCOMPARE(r, int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
  }
};

ORIVOX_TEST(TAboutBoxTest)
#include "TAboutBoxTest.moc"
