// Speech output behind a small interface, so that tests record what would be said, when and
// how urgently, and the program runs the same without any speech service.
#pragma once

#include <QString>
#include <QStringList>

// How a message stands against the others: a prompt is replaced by the next prompt, so the
// voice never lags behind the highlight; a message waits its turn and is never cut short by
// this program's prompts.
enum class SpeechPriority { Prompt, Message };

// Words are read as words; a character alone is named ("virgule", "b") rather than read.
enum class SpeechForm { Words, Character };

enum class SpeechState {
  NotTried,   // nothing has asked for speech yet
  Connecting, // looking for the service
  Available,  // the service answered and has a French voice
  Unavailable // no service, or no French voice: the program stays silent
};

struct SpeechVoice {
  QString name;     // empty: the service's own French voice
  int rate = 0;     // -100..100
  int volume = 100; // -100..100
  bool operator==(const SpeechVoice& o) const {
    return name == o.name && rate == o.rate && volume == o.volume;
  }
  bool operator!=(const SpeechVoice& o) const { return !(*this == o); }
};

// Every call returns at once: the speech itself happens elsewhere, later.
class ISpeech {
public:
  virtual ~ISpeech() = default;
  virtual void say(const QString& text, SpeechPriority priority, SpeechForm form) = 0;
  // Silences this program's own speech, never another program's.
  virtual void cancel() = 0;
  virtual void setVoice(const SpeechVoice& voice) = 0;
  // Starts looking for the service, if that has not been done, without waiting for it.
  virtual void probe() = 0;
  virtual SpeechState state() const = 0;
  // Names of the French voices the service offers, once it has answered.
  virtual QStringList voices() const = 0;
};
