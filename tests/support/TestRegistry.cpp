// Runs every registered test class in one QApplication.
#include "support/TestRegistry.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

std::vector<TestFactory>& registry() {
  static std::vector<TestFactory> factories;
  return factories;
}

int runAll(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  int failures = 0;
  for (auto& make : registry()) {
    auto test = make();
    failures += QTest::qExec(test.get(), argc, argv) != 0 ? 1 : 0;
  }
  return failures == 0 ? 0 : 1;
}

} // namespace testsupport
