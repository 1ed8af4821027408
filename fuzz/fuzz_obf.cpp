// Fuzz target for the import of lone Open Board Format boards (JSON): any bytes are refused
// or imported without a crash, and an imported board saves, opens and travels unchanged.
#include "ImportedBoardCheck.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  checkImportedBoard(interchange::importObf(bytes));
  return 0;
}
