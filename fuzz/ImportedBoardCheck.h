// What every import that succeeds must give, whatever the bytes: a board that saves and opens
// again (within what a board file may hold), and that comes back unchanged through a package.
#pragma once

#include "interchange/Interchange.h"

#include <cstdio>
#include <cstdlib>

inline void checkImportedBoard(const interchange::ImportResult& r) {
  if (!r.ok)
    return;
  const QByteArray saved = boardfile::write(r.board);
  // The round trip of large boards (up to the bounds) is the unit tests' to carry: here it
  // would spend the memory limit that keeps the importer's own cost in check.
  if (saved.size() > (1 << 20))
    return;
  const BoardReadResult again = boardfile::read(saved);
  if (again.status != BoardReadStatus::Ok || again.data.tabs != r.board.tabs) {
    std::fprintf(stderr, "an imported board does not open again once saved\n");
    std::abort();
  }
  const interchange::Result<QByteArray> exported =
      interchange::obzBytes(again.data, QStringLiteral("x"));
  if (!exported.ok()) {
    std::fprintf(stderr, "an imported board cannot be exported: %s\n",
                 qPrintable(exported.errorString()));
    std::abort();
  }
  const interchange::ImportResult back = interchange::importObz(exported.value());
  if (!back.ok || boardfile::write(back.board) != boardfile::write(again.data)) {
    std::fprintf(stderr, "an imported board changed through a package\n");
    std::abort();
  }
}
