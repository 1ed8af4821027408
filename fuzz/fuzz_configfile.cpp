// Fuzz target for the configuration file reader: any bytes must be read without a crash, and
// the values read must be stored back so that they read the same (a password that can no
// longer be read back would lock the carer out of creation mode).
#include "shell/ConfigFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const configfile::ConfigValues first = configfile::decode(bytes);
  const configfile::ConfigValues again =
      configfile::decode(configfile::encode(first.password, first.lastBoard));
  if (again.password != first.password || again.lastBoard != first.lastBoard) {
    std::fprintf(stderr, "configuration values changed once written and read again\n");
    std::abort();
  }
  return 0;
}
