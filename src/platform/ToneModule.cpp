// The sound output over the PulseAudio simple API, built as the module orivox_tones so that the
// sound libraries are mapped at the first tone, not at start.
#include "platform/Modules.h"
#include "platform/SoundOutput.h"

#include <pulse/simple.h>

namespace {

class PulseOutput : public SoundOutput {
public:
  ~PulseOutput() override { close(); }

  bool open(int sampleRate) override {
    if (FStream)
      return true;
    pa_sample_spec sampleFormat;
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = uint32_t(sampleRate);
    sampleFormat.channels = 1;
    int error = 0;
    FStream = pa_simple_new(nullptr, "Orivox", PA_STREAM_PLAYBACK, nullptr, "Sonnerie",
                            &sampleFormat, nullptr, nullptr, &error);
    return FStream != nullptr;
  }

  bool play(const QByteArray& samples) override {
    if (!FStream)
      return false;
    int error = 0;
    if (pa_simple_write(FStream, samples.constData(), size_t(samples.size()), &error) == 0 &&
        pa_simple_drain(FStream, &error) == 0)
      return true;
    close();
    return false;
  }

private:
  void close() {
    if (FStream)
      pa_simple_free(FStream);
    FStream = nullptr;
  }

  pa_simple* FStream = nullptr;
};

} // namespace

extern "C" ORIVOX_MODULE_EXPORT SoundOutput* orivox_sound_output_create() {
  return new PulseOutput; // owned by the caller
}
