// The command line, read before any window exists.
#include "interchange/CommandLine.h"

#include "interchange/Formats.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include <sys/stat.h>

namespace interchange {

namespace {

const char kUsage[] = "Utilisation : orivox [FICHIER] | orivox --convert ENTRÉE SORTIE "
                      "(fichiers .ord, .obf ou .obz)";

void tell(const QString& message) {
  std::fputs(message.toLocal8Bit().constData(), stderr);
  std::fputc('\n', stderr);
}

// The same file under two names: a symbolic link resolves to it, a hard link shares its device
// and inode. A conversion onto its own input would replace the board it is reading.
bool sameFile(const QString& a, const QString& b) {
  const QFileInfo fa(a), fb(b);
  if (fa.absoluteFilePath() == fb.absoluteFilePath())
    return true;
  if (!fa.exists() || !fb.exists())
    return false;
  if (fa.canonicalFilePath() == fb.canonicalFilePath())
    return true;
  struct stat sa, sb;
  return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

} // namespace

CommandLine parseCommandLine(const QStringList& args) {
  CommandLine c;
  // Wherever it stands among Qt's own options ("-platform offscreen --convert IN OUT"): the
  // two arguments after it are the files.
  const qsizetype at = args.indexOf(QStringLiteral("--convert"));
  if (at >= 0) {
    const QStringList files = args.mid(at + 1, 2);
    if (files.size() != 2 || files[0].startsWith(QLatin1Char('-')) ||
        files[1].startsWith(QLatin1Char('-'))) {
      c.action = CommandLine::Action::Usage;
      c.problem = QStringLiteral("--convert attend deux fichiers : l'entrée et la sortie.");
      return c;
    }
    c.action = CommandLine::Action::Convert;
    c.input = files[0];
    c.output = files[1];
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
    tell(QStringLiteral("Conversion impossible : ") +
         notABoardFile(QDir::toNativeSeparators(output)));
    return 1;
  }
  if (sameFile(input, output)) {
    tell(QStringLiteral("Conversion impossible : l'entrée et la sortie sont le même fichier."));
    return 1;
  }
  const ImportResult in = importFile(input);
  if (!in.ok) {
    tell(in.errorString());
    return 1;
  }
  const ExportResult out = exportFile(in.board, output);
  if (!out.ok) {
    tell(out.errorString()); // a whole sentence, as the panel shows it
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
