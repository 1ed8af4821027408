// Each access mode from the keys to the choices, as the window runs them: the switch input, the
// routing and the scanner together, on a time the test hands in. Timed key sequences in (the
// script of SwitchRolesTest: d32@0 u32@100, W500 the pause after a choice, R500/300 the
// move-repeat), what is lit and chosen out: "T1@0" tab 1 lit, "T1!@0" chosen, "i2@0" item 2
// lit, "i2!@0" chosen, "r1@0" row 1 lit, "r1!@0" chosen, each with the time it happened.
#include "execution/Scanner.h"
#include "execution/SwitchInput.h"
#include "execution/SwitchRouting.h"
#include "support/TestRegistry.h"

#include <QtTest>

namespace {
// Tab 0: 5 items, the last one RETOUR; tab 1: 3 items. Both in rows of 2, 2 and 1 for
// row-column scanning.
constexpr int kRetour = 4;

struct Rig {
  SwitchInput in;
  Scanner scanner;
  QStringList out;
  qint64 now = 0;
  ScanView shown;
  bool shownTabs = true;

  void show(const ScanOutcome& o) {
    const ScanView& v = o.view;
    if (o.tabChosen)
      out << QStringLiteral("T%1!@%2").arg(v.tab).arg(now);
    if (o.rowChosen)
      out << QStringLiteral("r%1!@%2").arg(v.row).arg(now);
    if (o.chosenItem >= 0) {
      out << QStringLiteral("i%1!@%2").arg(o.chosenItem).arg(now);
      if (o.chosenItem == kRetour) {
        show(scanner.returnToTabs(now));
        return;
      }
    }
    if (o.acted())
      in.noteAction(now);
    const bool tabs = scanner.phase() == Scanner::Phase::Tabs;
    if (v != shown || tabs != shownTabs) {
      if (tabs && v.litTab >= 0 && (v.litTab != shown.litTab || !shownTabs))
        out << QStringLiteral("T%1@%2").arg(v.litTab).arg(now);
      else if (v.item >= 0 && v.item != shown.item && !o.rowChosen)
        out << QStringLiteral("i%1@%2").arg(v.item).arg(now);
      else if (v.item < 0 && v.row >= 0 && v.row != shown.row)
        out << QStringLiteral("r%1@%2").arg(v.row).arg(now);
    }
    shown = v;
    shownTabs = tabs;
  }
};

QStringList run(AccessMode mode, bool rowColumn, const QString& script) {
  Rig rig;
  ScanSettings settings;
  settings.mode = mode;
  settings.rowColumn = rowColumn;
  settings.tabPaceMs = 3000;
  settings.textPaceMs = 1000;
  settings.acceptanceMs = 300;
  settings.dwellMs = 1000;
  rig.scanner.setSettings(settings);
  const std::vector<ScanRow> rows{{0, 2}, {2, 2}, {4, 1}};
  rig.scanner.setBoard({ScanTab{true, 5, rows}, ScanTab{true, 3, {{0, 2}, {2, 1}}}});
  SwitchInput::Settings input;
  input.mode = mode;
  input.acceptanceMs = mode == AccessMode::Inverse ? 300 : 0;
  rig.in.setSettings(input);
  rig.in.setPhase(SwitchInput::Phase::Tabs); // outside automatic scanning only Off matters
  rig.in.onSwitch = [&rig](const SwitchInput::Event& e) {
    rig.show(switchrouting::route(rig.scanner, e, rig.now));
  };
  rig.in.onHoldStarted = [&rig](SwitchInput::Hold h) {
    rig.show(rig.scanner.hold(rig.now, h == SwitchInput::Hold::Acceptance));
  };
  rig.in.onHoldEnded = [&rig] { rig.show(rig.scanner.resume(rig.now)); };
  rig.show(rig.scanner.start(0, 0));
  // Whatever falls due first, the switch's or the scan's, runs first.
  const auto advance = [&rig](qint64 to) {
    for (int guard = 0; guard < 10000; ++guard) {
      const qint64 scan = rig.scanner.deadline() >= 0 ? rig.scanner.deadline() : to + 1;
      const qint64 sw = rig.in.nextDeadline().value_or(to + 1);
      const qint64 due = std::min(scan, sw);
      if (due > to)
        break;
      rig.now = std::max(rig.now, due);
      if (sw <= scan)
        rig.in.timeout(rig.now);
      else
        rig.show(rig.scanner.tick(rig.now));
    }
    rig.now = to;
  };
  for (const QString& token : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    const QChar c = token[0];
    if (c == 'W' || c == 'R') {
      SwitchInput::Settings s = rig.in.settings();
      const QStringList v = token.mid(1).split(QLatin1Char('/'));
      if (c == 'W')
        s.pauseMs = v[0].toInt();
      else
        s.moveRepeatDelayMs = v[0].toInt(), s.moveRepeatPaceMs = v[1].toInt();
      rig.in.setSettings(s);
      continue;
    }
    const QStringList parts = token.split(QLatin1Char('@'));
    advance(parts[1].toLongLong());
    const int vk = parts[0].mid(1).toInt();
    if (c == 'd')
      rig.in.keyDown(vk, false, rig.now);
    else if (c == 'u')
      rig.in.keyUp(vk, false, rig.now);
    else if (c == 'F')
      rig.in.forgetAll();
  }
  advance(rig.now + 20000); // what the last keys leave to fall due
  return rig.out;
}

// A key held from `from` for `ms` as X repeats it under XTEST: unflagged up/down pairs every
// 40 ms after 660 ms, then the real release.
QString held(int vk, int from, int ms) {
  QString s = QStringLiteral("d%1@%2 ").arg(vk).arg(from);
  for (int t = from + 660; t < from + ms; t += 40)
    s += QStringLiteral("u%1@%2 d%1@%2 ").arg(vk).arg(t);
  return s + QStringLiteral("u%1@%2").arg(vk).arg(from + ms);
}
} // namespace

class AccessModesTest : public QObject {
  Q_OBJECT
private slots:
  void keysToChoices_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("rowColumn");
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("seen");
    const int two = int(AccessMode::TwoSwitchStep);
    const int inverse = int(AccessMode::Inverse);
    const int dwell = int(AccessMode::StepDwell);

    QTest::newRow("two switches: Space steps, Enter chooses, nothing moves by itself")
        << two << false << "d32@100 u32@150 d32@200 u32@250 d13@300 u13@350 t@9000 d13@9100"
        << QStringList{"T0@0", "T1@100", "T0@200", "T0!@300", "i0@300", "i0!@9100"};
    QTest::newRow("two switches: Space held under X's repeats is one step")
        << two << false << "d13@0 u13@50 " + held(32, 100, 1500) + " d13@2000 u13@2050"
        << QStringList{"T0@0", "T0!@0", "i0@0", "i1@100", "i1!@2000"};
    QTest::newRow("two switches: move-repeat steps on our own time, RETOUR goes to the tabs")
        << two << false << "R500/300 d13@0 u13@50 " + held(32, 100, 1150) + " d13@1300 u13@1350"
        << QStringList{"T0@0",   "T0!@0",   "i0@0",     "i1@100", "i2@600",
                       "i3@900", "i4@1200", "i4!@1300", "T0@1300"};
    QTest::newRow("two switches: the pause after a choice ignores a press begun in it")
        << two << false << "W500 d13@0 u13@50 d32@300 u32@350 d32@600 u32@650"
        << QStringList{"T0@0", "T0!@0", "i0@0", "i1@600"};
    QTest::newRow("two switches, row-column: a row, then its items")
        << two << true
        << "d13@0 u13@50 d32@100 u32@150 d13@200 u13@250 d32@300 u32@350 "
           "d13@400 u13@450"
        << QStringList{"T0@0", "T0!@0", "r0@0", "r1@100", "r1!@200", "i3@300", "i3!@400", "r0@400"};

    QTest::newRow("inverse: held, the highlight moves; let go, the lit item is chosen")
        << inverse << false << "d96@0 u96@500 " + held(96, 1000, 1600)
        << QStringList{"T0@0", "T0!@530", "i0@1000", "i1@2000", "i1!@2630"};
    QTest::newRow("inverse: a brush chooses nothing")
        << inverse << false << "d96@0 u96@500 d96@1000 u96@1100 d96@1500 u96@1900"
        << QStringList{"T0@0", "T0!@530", "i0@1000", "i0!@1930"};
    QTest::newRow("inverse: the window losing the keyboard chooses nothing")
        << inverse << false << "d96@0 u96@500 d96@1000 F@1500 t@5000 u96@5100"
        << QStringList{"T0@0", "T0!@530", "i0@1000"};

    QTest::newRow("dwell: each press steps; the wait after the last one chooses")
        << dwell << false << "d96@0 u96@50 d97@2000 u97@2050 d96@2300 u96@2350"
        << QStringList{"T0@0", "T0!@1050", "i0@2000", "i1@2300", "i1!@3350"};
    QTest::newRow("dwell: held, move-repeat steps; RETOUR chosen by the wait")
        << dwell << false << "R500/300 d96@0 u96@50 d96@2000 u96@2050 d96@3000 u96@4150"
        << QStringList{"T0@0",    "T0!@1050", "i0@2000",  "i1@3000", "i2@3500",
                       "i3@3800", "i4@4100",  "i4!@5150", "T0@5150"};
  }
  void keysToChoices() {
    QFETCH(int, mode);
    QFETCH(bool, rowColumn);
    QFETCH(QString, script);
    QFETCH(QStringList, seen);
    QCOMPARE(run(AccessMode(mode), rowColumn, script).join(QLatin1Char(' ')),
             seen.join(QLatin1Char(' ')));
  }
};

ORIVOX_TEST(AccessModesTest)
#include "AccessModesTest.moc"
