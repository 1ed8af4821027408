// Speech through the desktop's speech service (speech-dispatcher).
#pragma once

#include "platform/Speech.h"

#include <memory>

// The service is reached from a thread of its own: every call of the interface only queues a
// request, so neither a slow start of the service nor a service that stops answering can hold
// up the scanning. The connection is made at the first need, not at start-up.
std::unique_ptr<ISpeech> makeSystemSpeech();
