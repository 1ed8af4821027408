// Scanner scripts for the tests: events with their times in, each outcome as a short line out.
#pragma once

#include "execution/Scanner.h"

#include <QString>
#include <QStringList>
#include <vector>

// The board of every script: tab 0 has only its 7 reserved buttons in one row; tab 1 has 5
// texts laid out as rows of 3 and 2, then the reserved row; tab 2 is hidden; tab 3 gives no rows.
inline std::vector<ScanTab> storyBoard() {
  return {
      ScanTab{true, 7, {{0, 7}}},
      ScanTab{true, 12, {{0, 3}, {3, 2}, {5, 7}}},
      ScanTab{false, 3, {{0, 3}}},
      ScanTab{true, 9, {}},
  };
}

// One outcome as "tab[*][:rRow][:iItem][ +tab][ +row][ !chosen][ ^] @deadline"; '*' when the active
// tab is the highlighted one, "~L" when another tab L is highlighted.
inline QString describe(const ScanOutcome& o) {
  QString s = QString::number(o.view.tab);
  if (o.view.litTab == o.view.tab && o.view.tab >= 0)
    s += '*';
  else if (o.view.litTab >= 0)
    s += QStringLiteral("~%1").arg(o.view.litTab);
  if (o.view.row >= 0)
    s += QStringLiteral(":r%1").arg(o.view.row);
  if (o.view.item >= 0)
    s += QStringLiteral(":i%1").arg(o.view.item);
  if (o.tabChosen)
    s += QStringLiteral(" +tab");
  if (o.rowChosen)
    s += QStringLiteral(" +row");
  if (o.chosenItem >= 0)
    s += QStringLiteral(" !%1").arg(o.chosenItem);
  if (o.backToTabs)
    s += QStringLiteral(" ^");
  s += QStringLiteral(" @%1").arg(o.deadlineMs);
  return s;
}

// Runs a script of events separated by " | ": "s<tab>" starts at time 0 on that tab, "k" ticks
// at the deadline, "k<n>" ticks n times and reports the last, "p<ms>" and "r<ms>" press and
// release at that time, "R" goes back to the tabs at the time of the last event, "t<ms>" ticks
// at that time, "h<ms>" and "H<ms>" hold the scan still (to go on with the time left, or with a
// full pace) and "g<ms>" lets it go on; "m<ms>" is a step asked for by the person (the move
// switch) and "l<ms>" a switch lost while down. The outcomes are joined the same way.
inline QString run(Scanner& scanner, const QString& script) {
  QStringList outcomes;
  qint64 now = 0;
  for (const QString& raw : script.split(QStringLiteral(" | "))) {
    const QString e = raw.trimmed();
    const QChar kind = e.at(0);
    const qint64 arg = e.size() > 1 ? e.mid(1).toLongLong() : -1;
    ScanOutcome o;
    if (kind == 's') {
      now = 0;
      o = scanner.start(0, int(arg));
    } else if (kind == 'k') {
      for (qint64 i = 0; i < std::max<qint64>(1, arg); ++i) {
        now = scanner.deadline();
        o = scanner.tick(now);
      }
    } else if (kind == 't') {
      now = arg;
      o = scanner.tick(now);
    } else if (kind == 'p') {
      now = arg;
      o = scanner.pressed(now);
    } else if (kind == 'r') {
      now = arg;
      o = scanner.released(now);
    } else if (kind == 'R') {
      o = scanner.returnToTabs(now);
    } else if (kind == 'h' || kind == 'H') {
      now = arg;
      o = scanner.hold(now, kind == 'H');
    } else if (kind == 'm') {
      now = arg;
      o = scanner.moved(now);
    } else if (kind == 'l') {
      now = arg;
      o = scanner.lost(now);
    } else if (kind == 'g') {
      now = arg;
      o = scanner.resume(now);
    }
    outcomes << describe(o);
  }
  return outcomes.join(QStringLiteral(" | "));
}
