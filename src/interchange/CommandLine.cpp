// The command line, read before any window exists.
#include "interchange/CommandLine.h"

#include "interchange/Interchange.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace interchange {

namespace {

const char kUsage[] = "Utilisation : orivox [FICHIER] | orivox --convert ENTRÉE SORTIE "
                      "(fichiers .ord, .obf ou .obz)";

void tell(const QString& message) {
  std::fputs(message.toLocal8Bit().constData(), stderr);
  std::fputc('\n', stderr);
}

} // namespace

CommandLine parseCommandLine(const QStringList& args) {
  CommandLine c;
  if (!args.isEmpty() && args.first() == QLatin1String("--convert")) {
    if (args.size() != 3) {
      c.action = CommandLine::Action::Usage;
      c.problem = QStringLiteral("--convert attend deux fichiers : l'entrée et la sortie.");
      return c;
    }
    c.action = CommandLine::Action::Convert;
    c.input = args[1];
    c.output = args[2];
    return c;
  }
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--")) { // what follows is a file, even if it starts with "-"
      if (i + 1 < args.size() && c.fileToOpen.isEmpty())
        c.fileToOpen = args[i + 1];
      break;
    }
    if (a == QLatin1String("--help")) {
      c.action = CommandLine::Action::Usage;
      return c;
    }
    // Other options are Qt's (-platform, --style...): left to it.
    if (a.startsWith(QLatin1Char('-')))
      continue;
    if (c.fileToOpen.isEmpty())
      c.fileToOpen = a;
  }
  return c;
}

int convert(const QString& input, const QString& output) {
  if (formatOf(output) == Format::Unknown) {
    tell(QStringLiteral("Conversion impossible : « %1 » n'est ni un .ord, ni un .obf, ni un .obz.")
             .arg(QDir::toNativeSeparators(output)));
    return 1;
  }
  if (QFileInfo(input).absoluteFilePath() == QFileInfo(output).absoluteFilePath()) {
    tell(QStringLiteral("Conversion impossible : l'entrée et la sortie sont le même fichier."));
    return 1;
  }
  const ImportResult in = importFile(input);
  if (!in.ok) {
    tell(in.errorMessage);
    return 1;
  }
  const ExportResult out = exportFile(in.board, output);
  if (!out.ok) {
    tell(QStringLiteral("Conversion impossible : ") + out.errorMessage);
    return 1;
  }
  // Not a failure: the board is converted, without what it could not hold.
  if (in.dropped.total() > 0)
    tell(in.dropped.text());
  return 0;
}

std::optional<int> runWithoutWindow(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i)
    args << QString::fromLocal8Bit(argv[i]);
  const CommandLine c = parseCommandLine(args);
  switch (c.action) {
  case CommandLine::Action::Convert:
    return convert(c.input, c.output);
  case CommandLine::Action::Usage:
    if (c.problem.isEmpty()) { // asked for
      std::puts(kUsage);
      return 0;
    }
    tell(c.problem);
    tell(QString::fromUtf8(kUsage));
    return 2;
  case CommandLine::Action::Start:
    break;
  }
  return std::nullopt;
}

QString fileToOpen(const QStringList& applicationArguments) {
  const QString file = parseCommandLine(applicationArguments.mid(1)).fileToOpen;
  return file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
}

} // namespace interchange
