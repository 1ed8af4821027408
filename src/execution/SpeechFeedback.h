// What the board says aloud, as its settings ask: the caption of each tab and text as the
// highlight reaches it, each text as it is chosen, and the phrase when it is closed.
#pragma once

#include "documents/BoardSettings.h"
#include "platform/Accessibility.h"
#include "platform/Speech.h"

#include <optional>

class SpeechFeedback {
public:
  // The settings are read at each call, so they follow the board the window holds. No speech
  // service: everything is silent. The screen reader's status, asked at each prompt: none, no
  // screen reader runs.
  SpeechFeedback(ISpeech* speech, const BoardSettings& settings,
                 const IScreenReaderStatus* screenReader = nullptr)
      : FSpeech(speech), FSettings(settings), FScreenReader(screenReader) {}

  void tabReached(const QString& caption) { prompt(caption); }
  void textReached(const QString& caption) { prompt(caption); }
  void textChosen(const QString& text);
  // The phrase as it stands when VALIDATION or AJOUT closes it.
  void phraseClosed(const QString& phrase);
  // Says a sample with the voice of these settings, which the board need not have yet.
  void tryVoice(const BoardSettings& candidate);
  // Silences what this program is saying, such as prompts when the scanning stops.
  void stop();

  static QString sampleText();

private:
  void prompt(const QString& caption);
  // A screen reader names what is lit already: the board's prompts would say it twice.
  bool promptsWanted() const;
  void speak(const QString& text, SpeechPriority priority, const BoardSettings& settings);
  ISpeech* FSpeech;
  const BoardSettings& FSettings;
  const IScreenReaderStatus* FScreenReader;
  std::optional<SpeechVoice> FApplied; // the voice the service was last given
};
