// Speech that loads its module at the first word to say or the first look for the service, and
// stays silent (Unavailable) when the module cannot be loaded.
#include "platform/SpeechDispatcher.h"

#include "platform/Modules.h"

namespace {

class ModuleSpeech : public ISpeech {
public:
  void say(const QString& text, SpeechPriority priority, SpeechForm form) override {
    if (ISpeech* s = load())
      s->say(text, priority, form);
  }
  void cancel() override {
    // Nothing can be speaking before the module is loaded.
    if (FSpeech)
      FSpeech->cancel();
  }
  void setVoice(const SpeechVoice& voice) override {
    FVoice = voice;
    FVoiceSet = true;
    if (FSpeech)
      FSpeech->setVoice(voice);
  }
  void probe() override {
    if (ISpeech* s = load())
      s->probe();
  }
  SpeechState state() const override {
    if (FSpeech)
      return FSpeech->state();
    return FMissing ? SpeechState::Unavailable : SpeechState::NotTried;
  }
  QStringList voices() const override { return FSpeech ? FSpeech->voices() : QStringList(); }

private:
  ISpeech* load() {
    if (FSpeech || FMissing)
      return FSpeech.get();
    if (auto* create = modules::resolveAs<SpeechFactory>(kSpeechModule, kSpeechFactory))
      FSpeech.reset(create());
    FMissing = !FSpeech;
    // The voice chosen before the module was needed applies from the first word.
    if (FSpeech && FVoiceSet)
      FSpeech->setVoice(FVoice);
    return FSpeech.get();
  }

  std::unique_ptr<ISpeech> FSpeech;
  bool FMissing = false;
  SpeechVoice FVoice;
  bool FVoiceSet = false;
};

} // namespace

std::unique_ptr<ISpeech> makeSystemSpeech() {
  return std::make_unique<ModuleSpeech>();
}
