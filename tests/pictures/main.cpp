#include "support/TestRegistry.h"
ORIVOX_TEST_MAIN
