// The switches outside automatic scanning, with time passed in: timed key sequences in, each
// switch's presses, releases and repeats out. A script reads left to right:
//   M:two M:inverse M:dwell     the access mode (two-switch stepping, held, stepping with dwell)
//   A300 W500 R800/300          acceptance time, pause after an action, move-repeat delay/pace
//   K65/66                      the move and choose keys
//   d32@0 u32@40 D32@0 U32@40   a key down or up at a time in ms; capitals: flagged auto-repeat
//   X@500                       the scanner chose something at that time
//   F@200  P:Off  t@900         the window loses the keyboard; creation mode; time passes
// Out: "move@0" a press, "^move@40" a release, "+move@800" a repeat, "~move@0" a switch lost
// while down (with the time it went down); "holdA@", "holdR@" and "go@" the scan held still and
// let go, with the time they happened.
#include "execution/SwitchInput.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {
QString roleName(SwitchInput::Role r) {
  switch (r) {
  case SwitchInput::Role::Move:
    return QStringLiteral("move");
  case SwitchInput::Role::Choose:
    return QStringLiteral("choose");
  case SwitchInput::Role::Single:
    return QStringLiteral("single");
  }
  return {};
}

QStringList run(const QString& script) {
  SwitchInput in;
  in.setPhase(SwitchInput::Phase::Tabs);
  QStringList out;
  qint64 now = 0;
  in.onSwitch = [&](const SwitchInput::Event& e) {
    static const char* edges[] = {"", "^", "+", "~"};
    out << QStringLiteral("%1%2@%3")
               .arg(QLatin1String(edges[int(e.edge)]), roleName(e.role))
               .arg(e.atMs);
  };
  in.onHoldStarted = [&](SwitchInput::Hold h) {
    out << QStringLiteral("%1@%2")
               .arg(h == SwitchInput::Hold::Acceptance ? QStringLiteral("holdA")
                                                       : QStringLiteral("holdR"))
               .arg(now);
  };
  in.onHoldEnded = [&] { out << QStringLiteral("go@%1").arg(now); };
  const auto advance = [&](qint64 to) {
    for (int guard = 0; guard < 1000; ++guard) {
      const auto due = in.nextDeadline();
      if (!due || *due > to)
        break;
      now = *due;
      in.timeout(now);
    }
    now = to;
  };
  for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    SwitchInput::Settings s = in.settings();
    if (token.startsWith(QLatin1String("M:"))) {
      const QString m = token.mid(2);
      s.mode = m == "two"       ? AccessMode::TwoSwitchStep
               : m == "inverse" ? AccessMode::Inverse
               : m == "dwell"   ? AccessMode::StepDwell
                                : AccessMode::Automatic;
      in.setSettings(s);
      continue;
    }
    if (token == QLatin1String("P:Off")) {
      in.setPhase(SwitchInput::Phase::Off);
      continue;
    }
    const QChar c = token[0];
    if (c == 'A' || c == 'W' || c == 'R' || c == 'K') {
      const QStringList v = token.mid(1).split(QLatin1Char('/'));
      if (c == 'A')
        s.acceptanceMs = v[0].toInt();
      else if (c == 'W')
        s.pauseMs = v[0].toInt();
      else if (c == 'R')
        s.moveRepeatDelayMs = v[0].toInt(), s.moveRepeatPaceMs = v[1].toInt();
      else
        s.moveKey = v[0].toInt(), s.chooseKey = v[1].toInt();
      in.setSettings(s);
      continue;
    }
    const QStringList parts = token.split(QLatin1Char('@'));
    advance(parts[1].toLongLong());
    const int vk = parts[0].mid(1).toInt();
    if (c == 'F')
      in.forgetAll();
    else if (c == 'X')
      in.noteAction(now);
    else if (c == 'd' || c == 'D')
      in.keyDown(vk, c == 'D', now);
    else if (c == 'u' || c == 'U')
      in.keyUp(vk, c == 'U', now);
  }
  advance(1000000);
  return out;
}

// A key held from `from` for `ms` the way X repeats it under XTEST: unflagged up/down pairs
// every 40 ms after 660 ms, then the real release.
QString heldUnflagged(int vk, int from, int ms) {
  QString s = QStringLiteral("d%1@%2 ").arg(vk).arg(from);
  for (int t = from + 660; t < from + ms; t += 40)
    s += QStringLiteral("u%1@%2 d%1@%2 ").arg(vk).arg(t);
  return s + QStringLiteral("u%1@%2").arg(vk).arg(from + ms);
}
} // namespace

class SwitchRolesTest : public QObject {
  Q_OBJECT
private slots:
  void eachSwitchPressesAndReleases_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("events");
    // Two switches with their default keys: Space moves, Enter chooses.
    QTest::newRow("two switches: Space moves, Enter chooses")
        << "M:two d32@0 u32@100 d13@500 u13@600"
        << QStringList{"move@0", "^move@100", "choose@500", "^choose@600"};
    QTest::newRow("two switches: any other key is no switch")
        << "M:two d96@0 u96@100 d144@200 u144@300" << QStringList{};
    QTest::newRow("two switches: keys of their own")
        << "M:two K65/66 d32@0 u32@50 d65@100 u65@150 d66@200 u66@250"
        << QStringList{"move@100", "^move@150", "choose@200", "^choose@250"};
    QTest::newRow("two switches down together are each their own switch")
        << "M:two d32@0 d13@50 u32@100 u13@150"
        << QStringList{"move@0", "choose@50", "^move@100", "^choose@150"};
    QTest::newRow("one key for both switches chooses")
        << "M:two K13/13 d13@0 u13@100" << QStringList{"choose@0", "^choose@100"};
    QTest::newRow("one switch: keys pressed together are one switch")
        << "M:dwell d96@0 d97@50 u96@100 u97@150" << QStringList{"single@0", "^single@150"};
    QTest::newRow("held under X's unflagged repeats: one press, one release")
        << "M:two " + heldUnflagged(32, 0, 2000) << QStringList{"move@0", "^move@2000"};
    QTest::newRow("flagged repeats are dropped")
        << "M:two d32@0 D32@700 U32@700 D32@740 U32@740 u32@1000"
        << QStringList{"move@0", "^move@1000"};
    QTest::newRow("move-repeat: held past the delay, one step each pace, on our own time")
        << "M:two R800/300 " + heldUnflagged(32, 0, 1950)
        << QStringList{"move@0",     "+move@800",  "+move@1100",
                       "+move@1400", "+move@1700", "^move@1950"};
    QTest::newRow("move-repeat: let go before the delay, no repeat")
        << "M:two R800/300 d32@0 u32@790" << QStringList{"move@0", "^move@790"};
    QTest::newRow("move-repeat never repeats the choose switch")
        << "M:two R800/300 " + heldUnflagged(13, 0, 2000)
        << QStringList{"choose@0", "^choose@2000"};
    QTest::newRow("move-repeat: the dwell's one switch repeats")
        << "M:dwell R500/500 d96@0 u96@1200"
        << QStringList{"single@0", "+single@500", "+single@1000", "^single@1200"};
    QTest::newRow("move-repeat: a held switch of inverse scanning does not")
        << "M:inverse R500/500 d96@0 u96@1200"
        << QStringList{"single@0", "holdR@1200", "^single@1200", "go@1230"};
    QTest::newRow("acceptance time: a press counts once held that long")
        << "M:two A300 d32@0 u32@200 d32@400 u32@800"
        << QStringList{"holdA@0", "go@230", "holdA@400", "move@700", "go@700", "^move@800"};
    QTest::newRow("held scanning judges its own brush: no wait for acceptance")
        << "M:inverse A300 d96@0 u96@100"
        << QStringList{"single@0", "holdR@100", "^single@100", "go@130"};
    QTest::newRow("an auto-repeat pair within a held switch's release lets the scan go on")
        << "M:inverse d96@0 u96@700 d96@700 u96@900"
        << QStringList{"single@0", "holdR@700", "go@700", "holdR@900", "^single@900", "go@930"};
    QTest::newRow("pause after a choice: a press that begins in it is ignored, release too")
        << "M:two W500 d13@0 X@0 u13@100 d32@300 u32@350 d32@600 u32@700"
        << QStringList{"choose@0", "^choose@100", "move@600", "^move@700"};
    QTest::newRow("the window lost the keyboard: the switch is lost, its release ignored")
        << "M:two d32@0 F@100 u32@200 d32@300" << QStringList{"move@0", "~move@0", "move@300"};
    QTest::newRow("lost while repeating: the repeats stop")
        << "M:two R300/300 d32@0 F@400 t@2000" << QStringList{"move@0", "+move@300", "~move@0"};
    QTest::newRow("creation mode: nothing")
        << "M:two P:Off d32@0 u32@100 d13@200 u13@300" << QStringList{};
    QTest::newRow("a change of mode forgets the keys down")
        << "M:two d32@0 M:dwell u32@100 d96@200 u96@300"
        << QStringList{"move@0", "single@200", "^single@300"};
  }
  void eachSwitchPressesAndReleases() {
    QFETCH(QString, script);
    QFETCH(QStringList, events);
    QCOMPARE(run(script), events);
  }

  void whichKeysAreSwitchKeys_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("isSwitch");
    QTest::newRow("automatic: Space is no switch") << int(AccessMode::Automatic) << 32 << false;
    QTest::newRow("automatic: Enter is") << int(AccessMode::Automatic) << 13 << true;
    QTest::newRow("two switches: Space") << int(AccessMode::TwoSwitchStep) << 32 << true;
    QTest::newRow("two switches: Enter") << int(AccessMode::TwoSwitchStep) << 13 << true;
    QTest::newRow("two switches: keypad 0") << int(AccessMode::TwoSwitchStep) << 96 << false;
    QTest::newRow("inverse: keypad 0") << int(AccessMode::Inverse) << 96 << true;
    QTest::newRow("inverse: Space") << int(AccessMode::Inverse) << 32 << false;
    QTest::newRow("dwell: keypad 0") << int(AccessMode::StepDwell) << 96 << true;
  }
  void whichKeysAreSwitchKeys() {
    QFETCH(int, mode);
    QFETCH(int, key);
    QFETCH(bool, isSwitch);
    SwitchInput in;
    SwitchInput::Settings s;
    s.mode = AccessMode(mode);
    in.setSettings(s);
    QCOMPARE(in.isSwitchKey(key), isSwitch);
    // What the filter lets through is what the input takes.
    in.setPhase(SwitchInput::Phase::Tabs);
    QCOMPARE(in.keyDown(key, false, 0), isSwitch);
  }
};

ORIVOX_TEST(SwitchRolesTest)
#include "SwitchRolesTest.moc"
