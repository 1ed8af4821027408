// Lets one test executable per subsystem hold several QtTest classes: each class registers
// itself with ORIVOX_TEST and the shared main runs them all, failing when any fails.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace testsupport {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& registry();
int runAll(int argc, char** argv);

template <typename T> struct Registrar {
  Registrar() { registry().push_back([] { return std::unique_ptr<QObject>(new T); }); }
};

} // namespace testsupport

#define ORIVOX_TEST(Class) static testsupport::Registrar<Class> registrar_##Class;
#define ORIVOX_TEST_MAIN                                                                          \
  int main(int argc, char** argv) { return testsupport::runAll(argc, argv); }
