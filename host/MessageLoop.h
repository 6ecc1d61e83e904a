#pragma once
// The host's one request: reads frames until one parses as JSON, unwraps a
// "message" wrapper, performs the command named by "cmd" and writes one
// response frame. Frames of length 0 pause and are skipped; frames that do
// not parse are dropped without an answer.
#include <functional>
#include <istream>
#include <ostream>

#include "HostPlatform.h"

enum class HostOutcome {
    Answered,   // one response frame was written
    InputEnded, // input ended before a request parsed: nothing was written
};

// pause is called for each frame of length 0 (the host sleeps 100 ms).
HostOutcome RunHost(std::istream& in, std::ostream& out, HostPlatform& platform, const std::function<void()>& pause);
