// The sound server as the tone generator needs it: one playback stream of 16-bit mono samples.
// Implemented by the module orivox_tones, loaded at the first tone.
#pragma once

#include <QByteArray>

class SoundOutput {
public:
  virtual ~SoundOutput() = default;
  // Connects to the sound server, if not connected; false when no server answers.
  virtual bool open(int sampleRate) = 0;
  // Plays the samples and returns once they were heard; false when the server went away, which
  // also closes the stream.
  virtual bool play(const QByteArray& samples) = 0;
};

extern "C" {
using SoundOutputFactory = SoundOutput*();
}
inline constexpr char kTonesModule[] = "orivox_tones";
inline constexpr char kSoundOutputFactory[] = "orivox_sound_output_create";
