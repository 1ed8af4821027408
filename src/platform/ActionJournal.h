// A line for each thing that the person who uses the board would see happen: a tab or a text
// lit, a choice, the display area after it, a tone, a save. Written only when the environment
// variable ORIVOX_JOURNAL names a file; the end-to-end checks read it to judge what the real
// program did with real key events.
#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <memory>

class ActionJournal {
public:
  // None when the variable is unset or its file cannot be written.
  static std::unique_ptr<ActionJournal> fromEnvironment();
  explicit ActionJournal(const QString& path);
  bool isOpen() const { return FFile.isOpen(); }
  // One line: milliseconds since the start, the event, the detail (line breaks shown as \n).
  void note(const char* event, const QString& detail = QString());

private:
  QFile FFile;
  QElapsedTimer FClock;
};

// Notes each tone before the real generator plays it.
class JournalTones : public IToneGenerator {
public:
  JournalTones(IToneGenerator* tones, ActionJournal& journal) : FTones(tones), FJournal(journal) {}
  void playTone(int frequencyHz, int durationMs) override;

private:
  IToneGenerator* FTones;
  ActionJournal& FJournal;
};
