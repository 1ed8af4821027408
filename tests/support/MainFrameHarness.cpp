// The main window harness for widget tests.
#include "support/MainFrameHarness.h"

#include "board/BoardView.h"
#include "board/TOnglet.h"
#include "board/TPageControl.h"
#include "editing/BoardHistory.h"
#include "editing/CreationPanel.h"
#include "execution/ScanSession.h"
#include "execution/SwitchKeyFilter.h"
#include "shell/TMainFrame.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

MainFrameHarness::MainFrameHarness(bool newBoard) {
  QDir(FDir.path()).mkpath(QStringLiteral("conf"));
  FFrame = std::make_unique<TMainFrame>(fakes.services(), FDir.path(), &predictor);
  FFrame->createDialogs();
  FFrame->SetPassword(QStringLiteral("wmo"));
  if (newBoard)
    FFrame->BtnNouveauClick();
  FFrame->resize(1024, 700);
  FFrame->show();
  QApplication::setActiveWindow(FFrame.get());
  QCoreApplication::processEvents();
}

MainFrameHarness::~MainFrameHarness() {
  FFrame->session().stopTimers();
}

static QWidget* keyTarget() {
  QWidget* w = QApplication::focusWidget();
  return w ? w : QApplication::activeWindow();
}

void MainFrameHarness::keyDown(int qtKey, Qt::KeyboardModifiers mods) {
  QTest::keyPress(keyTarget(), Qt::Key(qtKey), mods);
}

void MainFrameHarness::keyUp(int qtKey, Qt::KeyboardModifiers mods) {
  QTest::keyRelease(keyTarget(), Qt::Key(qtKey), mods);
  // A release waits a few milliseconds to be told from an auto-repeat: no test waits for it.
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* frame = qobject_cast<TMainFrame*>(w))
      frame->session().switchFilter().flush();
}

void MainFrameHarness::pressKey(int qtKey, Qt::KeyboardModifiers mods) {
  keyDown(qtKey, mods);
  keyUp(qtKey, mods);
}

void MainFrameHarness::whenModal(std::function<void(QWidget*)> act) {
  auto poll = std::make_shared<std::function<void(int)>>();
  *poll = [act, poll](int tries) {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(modal);
      return;
    }
    if (tries > 0)
      QTimer::singleShot(10, [poll, tries] { (*poll)(tries - 1); });
  };
  QTimer::singleShot(0, [poll] { (*poll)(300); });
}

void MainFrameHarness::answerPassword(const QString& password) {
  whenModal([password](QWidget* dialog) {
    QWidget* field = dialog->focusWidget();
    if (!field)
      field = dialog;
    QTest::keyClicks(field, password);
    QTest::keyClick(field, Qt::Key_Return);
  });
}

void MainFrameHarness::enterCreationMode(const QString& password) {
  answerPassword(password);
  FFrame->FormShortCut(Qt::Key_C, Qt::ControlModifier);
  reactivate();
}

void MainFrameHarness::reactivate() {
  // The window manager gives the main window the keyboard back once a dialog closes; the
  // offscreen platform has none.
  QApplication::setActiveWindow(FFrame.get());
  QCoreApplication::processEvents();
}

void MainFrameHarness::enterExecutionMode() {
  FFrame->FormShortCut(Qt::Key_E, Qt::ControlModifier);
}

void MainFrameHarness::clickTab(TMainFrame& frame, int index) {
  QTest::mouseClick(frame.view().tabBar(), Qt::LeftButton, {},
                    frame.view().tabBar()->tabRect(index).center());
}

void MainFrameHarness::typeText(QWidget* widget, const QString& text) {
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QStringList MainFrameHarness::tabCaptions(TMainFrame& frame) {
  QStringList captions;
  for (TOnglet* page : frame.view().pages())
    captions << page->caption();
  return captions;
}

bool MainFrameHarness::stepTo(TMainFrame& frame, const QString& text) {
  for (int i = 0; i < 200; ++i) {
    frame.session().TimerT2Timer();
    if (frame.view().activePage()->GetCurrentText() == text)
      return true;
  }
  return false;
}
