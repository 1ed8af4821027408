// Decides what is said and how urgently; the speech service decides how it sounds.
#include "execution/SpeechFeedback.h"

namespace {
SpeechVoice voiceOf(const BoardSettings& s) {
  SpeechVoice v;
  v.name = s.voice;
  v.rate = s.rate;
  v.volume = s.volume;
  return v;
}

// One character (a letter, a digit, a sign, the space) is named; anything longer is read.
bool isSingleCharacter(const QString& text) {
  return text.size() == 1 || (text.size() == 2 && text.at(0).isHighSurrogate());
}
} // namespace

QString SpeechFeedback::sampleText() {
  return QStringLiteral("Bonjour, voici la voix de la synthèse vocale.");
}

bool SpeechFeedback::promptsWanted() const {
  if (!FSettings.speakPrompts)
    return false;
  const bool screenReader = FScreenReader && FScreenReader->screenReaderRunning();
  return !screenReader || FSettings.promptsWithScreenReader;
}

void SpeechFeedback::prompt(const QString& caption) {
  if (promptsWanted())
    speak(caption, SpeechPriority::Prompt, FSettings);
}

void SpeechFeedback::textChosen(const QString& text) {
  if (FSettings.speakTexts)
    speak(text, SpeechPriority::Message, FSettings);
}

void SpeechFeedback::phraseClosed(const QString& phrase) {
  if (FSettings.speakPhrase)
    speak(phrase.trimmed(), SpeechPriority::Message, FSettings);
}

void SpeechFeedback::tryVoice(const BoardSettings& candidate) {
  if (!FSpeech)
    return;
  FSpeech->cancel();
  speak(sampleText(), SpeechPriority::Message, candidate);
}

void SpeechFeedback::stop() {
  if (FSpeech && FApplied)
    FSpeech->cancel();
}

void SpeechFeedback::speak(const QString& text, SpeechPriority priority,
                           const BoardSettings& settings) {
  if (!FSpeech)
    return;
  const bool single = isSingleCharacter(text);
  // Spaces alone between words are nothing to say; the space key of "Alphabet" is.
  if (!single && text.trimmed().isEmpty())
    return;
  const SpeechVoice voice = voiceOf(settings);
  if (FApplied != voice) {
    FSpeech->setVoice(voice);
    FApplied = voice;
  }
  FSpeech->say(text, priority, single ? SpeechForm::Character : SpeechForm::Words);
}
