// The journal of what the board showed and did, for the end-to-end checks.
#include "platform/ActionJournal.h"

std::unique_ptr<ActionJournal> ActionJournal::fromEnvironment() {
  const QString path = qEnvironmentVariable("ORIVOX_JOURNAL");
  if (path.isEmpty())
    return nullptr;
  auto journal = std::make_unique<ActionJournal>(path);
  if (!journal->isOpen())
    return nullptr;
  return journal;
}

ActionJournal::ActionJournal(const QString& path) : FFile(path) {
  FClock.start();
  // Unbuffered, so that a reader sees each line as it happens.
  (void)FFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

void ActionJournal::note(const char* event, const QString& detail) {
  if (!FFile.isOpen())
    return;
  QString shown = detail;
  shown.replace(QLatin1Char('\n'), QLatin1String("\\n"));
  shown.replace(QChar::ParagraphSeparator, QLatin1String("\\n"));
  const QString line = QStringLiteral("%1\t%2\t%3\n")
                           .arg(FClock.elapsed())
                           .arg(QLatin1String(event), shown);
  FFile.write(line.toUtf8());
}

void JournalTones::playTone(int frequencyHz, int durationMs) {
  FJournal.note("ton", QStringLiteral("%1 %2").arg(frequencyHz).arg(durationMs));
  if (FTones)
    FTones->playTone(frequencyHz, durationMs);
}
