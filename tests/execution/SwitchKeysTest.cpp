// Qt key events to board key codes, and which codes act as the switch.
#include "platform/SwitchKeys.h"
#include "support/TestRegistry.h"

#include <QKeyEvent>
#include <QtTest>

class SwitchKeysTest : public QObject {
  Q_OBJECT
private slots:
  void mapsKeys_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<bool>("keypad");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("isSwitch");
    const Qt::Key digits[] = {Qt::Key_0, Qt::Key_5, Qt::Key_9};
    for (Qt::Key k : digits) {
      const int d = k - Qt::Key_0;
      QTest::addRow("keypad %d", d) << int(k) << true << 96 + d << true;
      QTest::addRow("main %d", d) << int(k) << false << 48 + d << false;
    }
    QTest::newRow("keypad *") << int(Qt::Key_Asterisk) << true << 106 << true;
    QTest::newRow("keypad +") << int(Qt::Key_Plus) << true << 107 << true;
    QTest::newRow("keypad separator") << int(Qt::Key_Comma) << true << 108 << true;
    QTest::newRow("keypad -") << int(Qt::Key_Minus) << true << 109 << true;
    QTest::newRow("keypad .") << int(Qt::Key_Period) << true << 110 << true;
    QTest::newRow("keypad /") << int(Qt::Key_Slash) << true << 111 << true;
    QTest::newRow("main *") << int(Qt::Key_Asterisk) << false << 0 << false;
    QTest::newRow("main -") << int(Qt::Key_Minus) << false << 0 << false;
    QTest::newRow("main ,") << int(Qt::Key_Comma) << false << 0 << false;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true << 13 << true;
    QTest::newRow("Return") << int(Qt::Key_Return) << false << 13 << true;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << true << 33 << true;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << true << 34 << true;
    QTest::newRow("End") << int(Qt::Key_End) << true << 35 << true;
    QTest::newRow("Home") << int(Qt::Key_Home) << false << 36 << true;
    QTest::newRow("Left") << int(Qt::Key_Left) << true << 37 << true;
    QTest::newRow("Up") << int(Qt::Key_Up) << true << 38 << true;
    QTest::newRow("Right") << int(Qt::Key_Right) << false << 39 << true;
    QTest::newRow("Down") << int(Qt::Key_Down) << true << 40 << true;
    QTest::newRow("keypad Insert") << int(Qt::Key_Insert) << true << 45 << true;
    QTest::newRow("keypad Delete") << int(Qt::Key_Delete) << true << 46 << true;
    QTest::newRow("NumLock") << int(Qt::Key_NumLock) << false << 144 << true;
    QTest::newRow("keypad 5 without Num Lock") << int(Qt::Key_Clear) << true << 12 << false;
    QTest::newRow("C") << int(Qt::Key_C) << false << 67 << false;
    QTest::newRow("E") << int(Qt::Key_E) << false << 69 << false;
    QTest::newRow("O") << int(Qt::Key_O) << false << 79 << false;
    QTest::newRow("P") << int(Qt::Key_P) << false << 80 << false;
    QTest::newRow("R") << int(Qt::Key_R) << false << 82 << false;
    QTest::newRow("F1") << int(Qt::Key_F1) << false << 112 << false;
    QTest::newRow("Space") << int(Qt::Key_Space) << false << 32 << false;
    QTest::newRow("unknown") << int(Qt::Key_Launch0) << false << 0 << false;
  }
  void mapsKeys() {
    QFETCH(int, qtKey);
    QFETCH(bool, keypad);
    QFETCH(int, code);
    QFETCH(bool, isSwitch);
    const Qt::KeyboardModifiers mods = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    QCOMPARE(switchkeys::virtualKeyCode(qtKey, mods), code);
    // Shift or Ctrl held with the key changes nothing.
    QCOMPARE(switchkeys::virtualKeyCode(qtKey, mods | Qt::ShiftModifier), code);
    const QKeyEvent event(QEvent::KeyRelease, qtKey, mods | Qt::ControlModifier);
    QCOMPARE(switchkeys::virtualKeyCode(event), code);
    QCOMPARE(switchkeys::isSwitchKey(code), isSwitch);
  }

  void switchSetBoundaries() {
    // Only the table's codes act: probe every code around its ranges.
    QList<int> switches;
    for (int code = 0; code < 256; ++code)
      if (switchkeys::isSwitchKey(code))
        switches << code;
    QList<int> expected{13, 33, 34, 35, 36, 37, 38, 39, 40, 45, 46};
    for (int code = 96; code <= 111; ++code)
      expected << code;
    expected << 144;
    QCOMPARE(switches, expected);
  }
};

ORIVOX_TEST(SwitchKeysTest)
#include "SwitchKeysTest.moc"
