// Fuzz target for the board file reader: any bytes must be read without a crash, and a board
// read whole must keep its tabs, texts and paces once written and read again (nothing a carer
// saved is lost or altered by a save), the settings block after the final block included.
#include "documents/BoardFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const BoardReadResult first = boardfile::read(bytes);
  boardfile::splitLines(bytes);
  if (first.status != BoardReadStatus::Ok)
    return 0;
  // What a file leaves to the program (a cut-short final block, empty font names) is filled
  // in by the first save; from then on a save and a load change nothing at all.
  const BoardReadResult again = boardfile::read(boardfile::write(first.data));
  if (again.status != BoardReadStatus::Ok || again.data.tabs != first.data.tabs ||
      again.data.t1Seconds != first.data.t1Seconds ||
      again.data.t2Seconds != first.data.t2Seconds || again.data.settings != first.data.settings) {
    std::fprintf(stderr, "tabs, texts, paces or settings changed once written and read again\n");
    std::abort();
  }
  const BoardReadResult third = boardfile::read(boardfile::write(again.data));
  if (third.status != BoardReadStatus::Ok || third.data != again.data) {
    std::fprintf(stderr, "a saved board changed once loaded and saved again\n");
    std::abort();
  }
  return 0;
}
