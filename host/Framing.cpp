#include "Framing.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Skips what is left of a body that could not be kept, so that the next
// frame starts where the browser put it.
void SkipBody(std::istream& in, std::uint64_t remaining)
{
    while (remaining > 0 && in) {
        const auto step = static_cast<std::streamsize>(
            std::min<std::uint64_t>(remaining, std::numeric_limits<std::streamsize>::max() / 2));
        in.ignore(step);
        const auto skipped = static_cast<std::uint64_t>(in.gcount());
        if (skipped == 0) break;
        remaining -= skipped;
    }
}

} // namespace

Frame ReadFrame(std::istream& in)
{
    char lengthBytes[4] = {};
    in.read(lengthBytes, sizeof lengthBytes);
    if (in.gcount() != static_cast<std::streamsize>(sizeof lengthBytes)) return {Frame::Kind::Ended, {}};

    std::uint32_t length = 0;
    std::memcpy(&length, lengthBytes, sizeof length);
    if (length == 0) return {Frame::Kind::Empty, {}};

    std::string body;
    std::uint64_t remaining = length;
    try {
        while (remaining > 0) {
            const std::size_t step = static_cast<std::size_t>(std::min<std::uint64_t>(remaining, kChunk));
            const std::size_t used = body.size();
            body.resize(used + step);
            in.read(&body[used], static_cast<std::streamsize>(step));
            const auto got = static_cast<std::size_t>(in.gcount());
            body.resize(used + got);
            remaining -= got;
            if (got < step) break; // input ended inside the body
        }
    } catch (const std::bad_alloc&) {
        std::string().swap(body);
        SkipBody(in, remaining);
        return {Frame::Kind::Dropped, {}};
    }
    return {Frame::Kind::Body, std::move(body)};
}

std::string BodyText(const std::string& body)
{
    return body.substr(0, body.find('\0'));
}

void WriteFrame(std::ostream& out, const std::string& text)
{
    const auto length = static_cast<std::uint32_t>(text.size());
    char lengthBytes[4];
    std::memcpy(lengthBytes, &length, sizeof length);
    out.write(lengthBytes, sizeof lengthBytes);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
}
