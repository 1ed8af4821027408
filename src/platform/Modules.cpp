// Finding and loading the program's modules. A module is never unloaded: the objects it made
// carry its code, and they may live until the program ends.
#include "platform/Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>
#include <QMutex>
#include <QMutexLocker>

#include <optional>

#ifndef ORIVOX_BUILD_MODULE_DIR
#define ORIVOX_BUILD_MODULE_DIR ""
#endif

namespace modules {

namespace {
// Modules may be asked for from the prediction, speech and tone threads at once.
QMutex& lock() {
  static QMutex mutex;
  return mutex;
}
std::optional<QStringList>& overridden() {
  static std::optional<QStringList> dirs;
  return dirs;
}
// Loaded libraries by path, and paths known not to load, so that a broken module is tried once.
QHash<QString, QLibrary*>& loaded() {
  static QHash<QString, QLibrary*> libraries;
  return libraries;
}

QStringList defaultDirectories() {
  QStringList dirs;
  // Before the application object exists there is no program folder to look beside.
  if (QCoreApplication::instance()) {
    const QString program = QCoreApplication::applicationDirPath();
    dirs << program << QDir::cleanPath(program + QStringLiteral("/../lib/orivox"));
  }
  const QString built = QStringLiteral(ORIVOX_BUILD_MODULE_DIR);
  if (!built.isEmpty())
    dirs << built;
  return dirs;
}

QString findLocked(const QString& module) {
  const QStringList dirs = overridden() ? *overridden() : defaultDirectories();
  for (const QString& dir : dirs) {
    const QString path = dir + QLatin1Char('/') + fileName(module);
    if (QFileInfo(path).isFile())
      return path;
  }
  return {};
}
} // namespace

QString fileName(const QString& module) {
  return QStringLiteral("lib") + module + QStringLiteral(".so");
}

QStringList searchDirectories() {
  QMutexLocker guard(&lock());
  return overridden() ? *overridden() : defaultDirectories();
}

void setSearchDirectories(const QStringList& directories) {
  QMutexLocker guard(&lock());
  overridden() = directories;
}

void resetSearchDirectories() {
  QMutexLocker guard(&lock());
  overridden().reset();
}

QString find(const QString& module) {
  QMutexLocker guard(&lock());
  return findLocked(module);
}

QFunctionPointer resolve(const QString& module, const char* symbol) {
  QMutexLocker guard(&lock());
  const QString path = findLocked(module);
  if (path.isEmpty())
    return nullptr;
  auto it = loaded().find(path);
  if (it == loaded().end()) {
    // Owned by the table for the life of the process; null marks a module that did not load.
    auto* library = new QLibrary(path);
    if (!library->load()) {
      qWarning("%s", qPrintable(library->errorString()));
      delete library;
      library = nullptr;
    }
    it = loaded().insert(path, library);
  }
  return *it ? (*it)->resolve(symbol) : nullptr;
}

} // namespace modules
