#pragma once
// Native-messaging frames: a 4-byte length in native byte order, then that
// many body bytes. Both directions use raw bytes.
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

struct Frame {
    enum class Kind {
        Body,    // a body was read (cut short if input ended inside it)
        Empty,   // the length was 0: there is no body
        Dropped, // the body could not be held; its bytes were skipped
        Ended,   // input ended before a whole length arrived
    };
    Kind kind;
    std::string body;
};

// Reads one frame. A body cut short by the end of input is returned as far as
// it arrived. Memory grows with the bytes that actually arrive, never with the
// announced length alone, so a hostile length cannot force a huge allocation.
Frame ReadFrame(std::istream& in);

// The text of a body that the JSON parser sees: up to its first zero byte.
std::string BodyText(const std::string& body);

// Writes the length and the text, then flushes.
void WriteFrame(std::ostream& out, const std::string& text);
