// Sine tones for the bell, played through the sound server by the module orivox_tones; without
// a server or the module the bell is silent but keeps its timing.
#include "platform/ToneGenerator.h"

#include "platform/Modules.h"
#include "platform/SoundOutput.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <cmath>

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

class ServerToneGenerator : public IToneGenerator {
public:
  void playTone(int frequencyHz, int durationMs) override {
    if (durationMs <= 0)
      return;
    if (openStream()) {
      if (FOutput->play(toneSamples(frequencyHz, durationMs, kSampleRate)))
        return;
      // The server went away: wait as if the tone had played.
      FFailure.start();
    }
    QThread::msleep(ulong(durationMs));
  }

private:
  bool openStream() {
    if (FFailure.isValid() && FFailure.elapsed() < kRetryAfterMs)
      return false;
    // The sound libraries are loaded at the first tone; without the module, tones are silent.
    if (!FOutput && !FMissing) {
      if (auto* create = modules::resolveAs<SoundOutputFactory>(kTonesModule, kSoundOutputFactory))
        FOutput.reset(create());
      FMissing = !FOutput;
    }
    if (!FOutput || !FOutput->open(kSampleRate)) {
      FFailure.start();
      return false;
    }
    FFailure.invalidate();
    return true;
  }

  std::unique_ptr<SoundOutput> FOutput;
  bool FMissing = false;
  QElapsedTimer FFailure; // valid while the last connection attempt failed
};
} // namespace

std::unique_ptr<IToneGenerator> makeSystemToneGenerator() {
  return std::make_unique<ServerToneGenerator>();
}
