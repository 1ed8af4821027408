// A main window on fake services in a temporary program folder, shown offscreen, with helpers
// to press keys as the keyboard would (to the focused widget) and to answer modal dialogs.
#pragma once

#include "support/FakePredictor.h"
#include "support/Fakes.h"

#include <QTemporaryDir>
#include <functional>
#include <memory>

class TMainFrame;
class QWidget;

class MainFrameHarness {
public:
  // newBoard: start on the default board, as a first start does.
  explicit MainFrameHarness(bool newBoard = true);
  ~MainFrameHarness();
  TMainFrame& frame() { return *FFrame; }
  QString folder() const { return FDir.path(); }
  QString path(const QString& name) const { return FDir.filePath(name); }

  // A key pressed and released on the widget that has the focus (or the window).
  static void pressKey(int qtKey, Qt::KeyboardModifiers mods = Qt::KeypadModifier);
  static void keyDown(int qtKey, Qt::KeyboardModifiers mods = Qt::KeypadModifier);
  static void keyUp(int qtKey, Qt::KeyboardModifiers mods = Qt::KeypadModifier);
  // The switch: keypad 0.
  static void pressSwitch() { pressKey(Qt::Key_0); }
  // Runs `act` on the next modal dialog once it is shown (the call that opens it blocks).
  static void whenModal(std::function<void(QWidget*)> act);
  // Types text into the modal dialog's focused field and presses Enter.
  static void answerPassword(const QString& password);
  // CTRL+C with the right password.
  void enterCreationMode(const QString& password = QStringLiteral("wmo"));
  void enterExecutionMode();
  void reactivate();
  // Text-phase ticks until the current text is `text`; false when it never comes.
  static bool stepTo(TMainFrame& frame, const QString& text);
  // The captions of the board's tabs, in order.
  static QStringList tabCaptions(TMainFrame& frame);
  // A click on tab `index` of the tab strip.
  static void clickTab(TMainFrame& frame, int index);
  // Typed as a keyboard would, one character at a time, whatever the character.
  static void typeText(QWidget* widget, const QString& text);

  FakeServices fakes;
  // Answers nothing until given answers; boards predict only when their settings say so.
  FakePredictor predictor;

private:
  QTemporaryDir FDir;
  std::unique_ptr<TMainFrame> FFrame;
};
