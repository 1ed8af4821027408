// The switch made from raw key events, with time passed in: timed key sequences in, the
// switch's actions out. A script reads left to right:
//   P:Tabs P:Waiting P:Texts P:Off   the phase the window sets
//   A300 W500                        acceptance time, pause after an action
//   d96@0 u96@40                     key 96 (keypad 0) down or up at a time in ms
//   D96@0 U96@40                     the same, flagged by the keyboard as auto-repeat
//   t@500                            time passes up to 500 ms
//   F@200                            the window loses the keyboard
// The window's timer runs at every deadline the switch asks for, before each later event.
// A chosen tab moves the phase to Waiting, as the window does. With `holds`, the times the
// scan is told to hold still ("holdA@" for an acceptance time, "holdR@" for a release) and to
// go on ("go@") are among the actions.
#include "execution/SwitchInput.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {
// Each key event asks for at most a few deadlines; more steps than this to reach one time means
// a deadline that never moves on, which would otherwise spin until ctest gives up on the suite.
constexpr int kMaxStepsToATime = 100;

struct Played {
  QStringList actions;
  QString stuck; // why the script stopped early, empty when it ran to its end
};

Played run(const QString& script, bool holds = false) {
  SwitchInput in;
  QStringList out;
  QString stuck;
  in.setPhase(SwitchInput::Phase::Tabs);
  in.onTabChosen = [&](int vk) {
    out << QStringLiteral("tab%1@").arg(vk);
    in.setPhase(SwitchInput::Phase::TextsWaiting);
  };
  in.onItemActivated = [&](int vk) { out << QStringLiteral("item%1@").arg(vk); };
  if (holds) {
    in.onHoldStarted = [&](SwitchInput::Hold h) {
      out << (h == SwitchInput::Hold::Acceptance ? QStringLiteral("holdA@")
                                                 : QStringLiteral("holdR@"));
    };
    in.onHoldEnded = [&] { out << QStringLiteral("go@"); };
  }
  qint64 now = 0;
  // The time is appended when an action happens, from the clock of the moment.
  const auto stamp = [&] {
    for (QString& s : out)
      if (s.endsWith(QLatin1Char('@')))
        s += QString::number(now);
  };
  const auto advance = [&](qint64 to) {
    int steps = 0;
    while (auto due = in.nextDeadline()) {
      if (*due > to)
        break;
      if (++steps > kMaxStepsToATime) {
        stuck =
            QStringLiteral("still a deadline due at %1 ms after %2 timer runs on the way to %3 ms")
                .arg(*due)
                .arg(kMaxStepsToATime)
                .arg(to);
        return;
      }
      now = *due;
      in.timeout(now);
      stamp();
    }
    now = to;
  };
  for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (token.startsWith(QLatin1String("P:"))) {
      const QString p = token.mid(2);
      in.setPhase(p == "Tabs"      ? SwitchInput::Phase::Tabs
                  : p == "Waiting" ? SwitchInput::Phase::TextsWaiting
                  : p == "Texts"   ? SwitchInput::Phase::Texts
                                   : SwitchInput::Phase::Off);
      continue;
    }
    if (token[0] == QLatin1Char('A') || token[0] == QLatin1Char('W')) {
      SwitchInput::Settings s = in.settings();
      (token[0] == QLatin1Char('A') ? s.acceptanceMs : s.pauseMs) = token.mid(1).toInt();
      in.setSettings(s);
      continue;
    }
    const QStringList parts = token.split(QLatin1Char('@'));
    advance(parts[1].toLongLong());
    if (!stuck.isEmpty())
      return {out, QStringLiteral("%1 (before \"%2\")").arg(stuck, token)};
    const QChar kind = parts[0][0];
    const int vk = parts[0].mid(1).toInt();
    if (kind == QLatin1Char('F'))
      in.forgetAll();
    else if (kind == QLatin1Char('d') || kind == QLatin1Char('D'))
      in.keyDown(vk, kind == QLatin1Char('D'), now);
    else if (kind == QLatin1Char('u') || kind == QLatin1Char('U'))
      in.keyUp(vk, kind == QLatin1Char('U'), now);
    stamp();
  }
  return {out, {}};
}

// A switch held 2 s in the way X repeats it under XTEST: unflagged up/down pairs every 40 ms
// after 660 ms, then the real release.
QString heldUnflagged(int vk, int from, int ms) {
  QString s = QStringLiteral("d%1@%2 ").arg(vk).arg(from);
  for (int t = from + 660; t < from + ms; t += 40)
    s += QStringLiteral("u%1@%2 d%1@%2 ").arg(vk).arg(t);
  return s + QStringLiteral("u%1@%2").arg(vk).arg(from + ms);
}
} // namespace

class SwitchInputTest : public QObject {
  Q_OBJECT
private slots:
  void oneActionPerPress_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("actions");
    QTest::newRow("tab phase: the press chooses, its release does nothing")
        << "d96@0 P:Texts u96@200 t@1000" << QStringList{"tab96@0"};
    QTest::newRow("text phase: the press does nothing, the release acts")
        << "P:Texts d96@0 u96@300 t@1000" << QStringList{"item96@330"};
    QTest::newRow("release before the first text is lit")
        << "d96@0 u96@100 d96@300 u96@400 P:Texts t@1000" << QStringList{"tab96@0"};
    QTest::newRow("release begun before the first text is lit")
        << "P:Waiting d96@0 u96@100 P:Texts t@1000" << QStringList{};
    QTest::newRow("release with no press (the press went to a dialog)")
        << "P:Texts u96@0 t@1000" << QStringList{};
    QTest::newRow("held, flagged repeats, in the text phase")
        << "P:Texts d96@0 D96@660 U96@700 D96@700 U96@740 D96@740 u96@2000 t@3000"
        << QStringList{"item96@2030"};
    QTest::newRow("held 2 s, unflagged repeats, in the text phase")
        << "P:Texts " + heldUnflagged(96, 0, 2000) + " t@3000" << QStringList{"item96@2030"};
    QTest::newRow("held 2 s, unflagged repeats, in the tab phase")
        << heldUnflagged(96, 0, 2000) + " P:Texts t@3000" << QStringList{"tab96@0"};
    // All the switch keys are one switch: down with the first, up with the last.
    QTest::newRow("two keys together in the text phase act once")
        << "P:Texts d96@0 d13@50 u96@100 u13@150 t@1000" << QStringList{"item13@180"};
    QTest::newRow("a second key after the first text is lit does not choose it")
        << "d96@0 P:Texts d13@600 u96@700 u13@800 t@1000" << QStringList{"tab96@0"};
    QTest::newRow("a hand rolling from one key to another within the release wait")
        << "P:Texts d96@0 u96@100 d13@110 u13@200 t@1000" << QStringList{"item13@230"};
    QTest::newRow("the window lost the keyboard with a key down: the next press acts")
        << "P:Texts d96@0 F@100 d13@200 u13@300 t@1000" << QStringList{"item13@330"};
    QTest::newRow("a key released over a dialog: the next press acts")
        << "d96@0 P:Tabs F@100 d96@200 t@1000" << QStringList{"tab96@0", "tab96@200"};
    QTest::newRow("no switch keys: keypad 5 without Num Lock, a letter")
        << "d12@0 u12@100 d65@200 u65@300 t@1000" << QStringList{};
    QTest::newRow("creation mode") << "P:Off d96@0 u96@100 t@1000" << QStringList{};
    QTest::newRow("a key held across the return to the scanning")
        << "P:Off d96@0 P:Tabs u96@100 d96@500 t@1000" << QStringList{"tab96@500"};
    QTest::newRow("acceptance: a brush does nothing")
        << "A300 d96@0 u96@50 t@1000" << QStringList{};
    QTest::newRow("acceptance: a held press chooses once accepted")
        << "A300 d96@0 u96@400 t@1000" << QStringList{"tab96@300"};
    QTest::newRow("acceptance: unflagged repeats do not cut the hold")
        << "A300 d96@0 u96@100 d96@100 u96@200 d96@200 u96@500 t@1000" << QStringList{"tab96@300"};
    QTest::newRow("acceptance: in the text phase a short press does nothing")
        << "A300 P:Texts d96@0 u96@100 d96@500 u96@900 t@2000" << QStringList{"item96@800"};
    QTest::newRow("pause: a double press acts once")
        << "W500 P:Texts d96@0 u96@100 d96@300 u96@350 d96@700 u96@800 t@2000"
        << QStringList{"item96@130", "item96@830"};
    QTest::newRow("pause: the press that begins in it is ignored, not delayed")
        << "W500 d96@0 u96@100 P:Tabs d13@200 u13@800 t@2000" << QStringList{"tab96@0"};
  }
  void oneActionPerPress() {
    QFETCH(QString, script);
    QFETCH(QStringList, actions);
    const Played played = run(script);
    QVERIFY2(played.stuck.isEmpty(), qPrintable(played.stuck));
    QCOMPARE(played.actions, actions);
  }

  // While the switch decides what it acts on, the scan holds still; it always goes on after.
  void scanHoldsStill_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("actions");
    using L = QStringList;
    QTest::newRow("no acceptance: the tab phase never holds")
        << "d96@0 u96@100 t@1000" << L{"tab96@0"};
    QTest::newRow("no acceptance: the release wait holds the text")
        << "P:Texts d96@0 u96@300 t@1000" << L{"holdR@300", "item96@330", "go@330"};
    QTest::newRow("an unflagged auto-repeat pair lets the scan go on at once")
        << "P:Texts d96@0 u96@700 d96@700 u96@900 t@1000"
        << L{"holdR@700", "go@700", "holdR@900", "item96@930", "go@930"};
    QTest::newRow("acceptance, tab phase: held from the press, chosen at the time")
        << "A1000 d96@0 u96@1100 t@2000" << L{"holdA@0", "tab96@1000", "go@1000"};
    QTest::newRow("acceptance, text phase: held from the press, chosen at the time")
        << "A1000 P:Texts d96@0 u96@1100 t@2000" << L{"holdA@0", "item96@1000", "go@1000"};
    QTest::newRow("acceptance: let go before the time, the scan goes on")
        << "A1000 P:Texts d96@0 u96@400 t@2000" << L{"holdA@0", "go@430"};
    QTest::newRow("acceptance: the window lost the keyboard, the scan goes on")
        << "A1000 P:Texts d96@0 F@200 t@2000" << L{"holdA@0", "go@200"};
    QTest::newRow("a press that cannot act holds nothing")
        << "A1000 P:Waiting d96@0 u96@1100 t@2000" << L{};
  }
  void scanHoldsStill() {
    QFETCH(QString, script);
    QFETCH(QStringList, actions);
    const Played played = run(script, true);
    QVERIFY2(played.stuck.isEmpty(), qPrintable(played.stuck));
    QCOMPARE(played.actions, actions);
  }
};
ORIVOX_TEST(SwitchInputTest)
#include "SwitchInputTest.moc"
