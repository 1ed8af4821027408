// Speech through the desktop's speech service (speech-dispatcher), reached through the module
// orivox_speech.
#pragma once

#include "platform/Speech.h"

#include <memory>

// The service is reached from a thread of its own: every call of the interface only queues a
// request, so neither a slow start of the service nor a service that stops answering can hold
// up the scanning. Neither the module nor the connection is loaded before the first need:
// choosing a voice only remembers it. Without the module the program is silent, as without
// the service.
std::unique_ptr<ISpeech> makeSystemSpeech();

// The module's factory: a new speech object owned by the caller.
extern "C" {
using SpeechFactory = ISpeech*();
}
inline constexpr char kSpeechModule[] = "orivox_speech";
inline constexpr char kSpeechFactory[] = "orivox_speech_create";
