// The program's command line: "orivox --convert IN OUT" converts a board between ".ord", ".obf"
// and ".obz" without any window; "orivox FILE" names a board to open instead of the last one.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace interchange {

struct CommandLine {
  enum class Action { Start, Convert, Usage };
  Action action = Action::Start;
  QString input, output; // Convert
  QString fileToOpen;    // Start: empty for the last board
  QString problem;       // Usage: what was wrong, in French
};

// The arguments after the program name, Qt's own options already taken out.
CommandLine parseCommandLine(const QStringList& arguments);

// Runs a conversion; returns the exit status (0 on success). Messages go to stderr in French.
int convert(const QString& input, const QString& output);

// Called first thing in main(): runs what needs no window and returns its exit status, or
// nothing when the program should start as usual.
std::optional<int> runWithoutWindow(int argc, char** argv);

// The board named on the command line, as an absolute path, or an empty string. Qt's own
// options are taken out by QApplication: pass QCoreApplication::arguments().
QString fileToOpen(const QStringList& applicationArguments);

} // namespace interchange
