#include "MessageLoop.h"

#include <exception>
#include <optional>
#include <string>

#include <json/reader.h>

#include "CommandTable.h"
#include "ErrorCodes.h"
#include "Framing.h"
#include "RequestMembers.h"
#include "ResponseWriter.h"

namespace {

std::optional<Json::Value> Parse(const std::string& text)
{
    Json::Reader reader; // default features: comments allowed, any root value
    Json::Value root;
    try {
        if (!reader.parse(text, root, false)) return std::nullopt;
    } catch (const std::exception&) {
        // jsoncpp throws on nesting deeper than its stack limit: such a body
        // does not parse.
        return std::nullopt;
    }
    return root;
}

Json::Value Perform(Json::Value request, HostPlatform& platform)
{
    if (request.isObject() && request.isMember("message")) {
        Json::Value inner = request["message"];
        request = std::move(inner);
    }

    Json::Value response;
    // A root that is no object, or a "cmd" that is no text, names no command
    // of the table.
    std::optional<std::string> name;
    if (request.isObject() || request.isNull()) name = ReadMemberText(request, "cmd");
    if (name)
        HandleCommand(*name, request, response, platform);
    else
        FailWith(response, kErrUnsupported);
    return response;
}

} // namespace

HostOutcome RunHost(std::istream& in, std::ostream& out, HostPlatform& platform, const std::function<void()>& pause)
{
    for (;;) {
        Frame frame = ReadFrame(in);
        switch (frame.kind) {
        case Frame::Kind::Ended:
            return HostOutcome::InputEnded;
        case Frame::Kind::Empty:
            pause();
            continue;
        case Frame::Kind::Dropped:
            continue;
        case Frame::Kind::Body:
            break;
        }
        std::optional<Json::Value> request = Parse(BodyText(frame.body));
        if (!request) continue;
        std::string().swap(frame.body);

        const Json::Value response = Perform(*std::move(request), platform);
        WriteFrame(out, SerializeResponse(response));
        return HostOutcome::Answered;
    }
}
