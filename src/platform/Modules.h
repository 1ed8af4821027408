// The optional parts of the program (speech, sound, zip packages, word prediction, vector
// pictures) live in modules loaded at their first use, so that starting the program maps only
// Qt and a module that cannot be found leaves its feature off instead of stopping the program.
#pragma once

#include <QFunctionPointer>
#include <QString>
#include <QStringList>

// Marks the factory a module exports (modules hide everything else).
#define ORIVOX_MODULE_EXPORT __attribute__((visibility("default")))

namespace modules {

// The file name of a module, for instance "liborivox_speech.so" for "orivox_speech".
QString fileName(const QString& module);

// Where modules are looked for, in order: beside the program (a copied program folder), the
// installed layout (bin/orivox with lib/orivox/), then the folder they were built in.
QStringList searchDirectories();
// Replaces the folders looked in; an empty list means no module is found (tests of a program
// installed without its modules). Modules already loaded stay loaded, since objects they made
// may still be alive, but are no longer handed out.
void setSearchDirectories(const QStringList& directories);
void resetSearchDirectories();

// The path the module would be loaded from, without loading it; empty when it is nowhere.
QString find(const QString& module);

// The function `symbol` of `module`, which is loaded at the first call and kept for the life of
// the process; null when the module is missing, fails to load or lacks the function.
QFunctionPointer resolve(const QString& module, const char* symbol);

// Shorthand for a factory: the typed function pointer, or null.
template <typename Function> Function* resolveAs(const QString& module, const char* symbol) {
  return reinterpret_cast<Function*>(resolve(module, symbol));
}

} // namespace modules
