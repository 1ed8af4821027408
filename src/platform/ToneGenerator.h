// Tones through the computer's audio output, and the samples they are made of.
#pragma once

#include "platform/Services.h"

#include <QByteArray>
#include <memory>

// Signed 16-bit little-endian mono PCM of a sine tone at the given rate, with short fades at
// both ends so that no click is heard.
QByteArray toneSamples(int frequencyHz, int durationMs, int sampleRate = 44100);

// The tone generator of this computer: the sound server when one answers, otherwise a silent
// generator that still takes the tone's duration (the user's input waits the same).
std::unique_ptr<IToneGenerator> makeSystemToneGenerator();
