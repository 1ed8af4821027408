// Sine tones for the bell, played through the sound server with the PulseAudio simple API;
// without a server the bell is silent but keeps its timing.
#include "platform/ToneGenerator.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <pulse/simple.h>

QByteArray toneSamples(int frequencyHz, int durationMs, int sampleRate) {
  if (frequencyHz <= 0 || durationMs <= 0 || sampleRate <= 0)
    return QByteArray();
  const qint64 count = qint64(sampleRate) * durationMs / 1000;
  const qint64 fade = std::min<qint64>(qint64(sampleRate) * 5 / 1000, count / 2);
  const double amplitude = 0.4 * 32767.0;
  const double step = 2.0 * M_PI * frequencyHz / sampleRate;
  QByteArray bytes(int(count * 2), Qt::Uninitialized);
  auto* out = reinterpret_cast<uchar*>(bytes.data());
  for (qint64 i = 0; i < count; ++i) {
    double envelope = 1.0;
    if (fade > 0) {
      if (i < fade)
        envelope = double(i) / fade;
      else if (count - 1 - i < fade)
        envelope = double(count - 1 - i) / fade;
    }
    const auto value = qint16(std::lround(amplitude * envelope * std::sin(step * double(i))));
    qToLittleEndian<qint16>(value, out + 2 * i);
  }
  return bytes;
}

namespace {
constexpr int kSampleRate = 44100;
// After a failed connection, tones stay silent this long before the server is asked again,
// so that a bell without a server does not try once per tone.
constexpr qint64 kRetryAfterMs = 10000;

class PulseToneGenerator : public IToneGenerator {
public:
  ~PulseToneGenerator() override { closeStream(); }

  void playTone(int frequencyHz, int durationMs) override {
    if (durationMs <= 0)
      return;
    if (openStream()) {
      const QByteArray samples = toneSamples(frequencyHz, durationMs, kSampleRate);
      int error = 0;
      if (pa_simple_write(FStream, samples.constData(), size_t(samples.size()), &error) == 0 &&
          pa_simple_drain(FStream, &error) == 0)
        return;
      // The server went away: drop the stream and wait as if the tone had played.
      closeStream();
      FFailure.start();
    }
    QThread::msleep(ulong(durationMs));
  }

private:
  bool openStream() {
    if (FStream)
      return true;
    if (FFailure.isValid() && FFailure.elapsed() < kRetryAfterMs)
      return false;
    pa_sample_spec sampleFormat;
    sampleFormat.format = PA_SAMPLE_S16LE;
    sampleFormat.rate = kSampleRate;
    sampleFormat.channels = 1;
    int error = 0;
    FStream = pa_simple_new(nullptr, "Orivox", PA_STREAM_PLAYBACK, nullptr, "Sonnerie",
                            &sampleFormat, nullptr, nullptr, &error);
    if (!FStream)
      FFailure.start();
    else
      FFailure.invalidate();
    return FStream != nullptr;
  }

  void closeStream() {
    if (FStream)
      pa_simple_free(FStream);
    FStream = nullptr;
  }

  pa_simple* FStream = nullptr;
  QElapsedTimer FFailure; // valid while the last connection attempt failed
};
} // namespace

std::unique_ptr<IToneGenerator> makeSystemToneGenerator() {
  return std::make_unique<PulseToneGenerator>();
}
