// The program entry.
#include "interchange/CommandLine.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
  // A conversion (or a wrong command line) is done before any window exists.
  if (const auto status = interchange::runWithoutWindow(argc, argv))
    return *status;
  return runOrivox(argc, argv);
}
