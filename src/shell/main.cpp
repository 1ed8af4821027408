// The program entry.
#include "shell/Startup.h"

int main(int argc, char** argv) { return runOrivox(argc, argv); }
