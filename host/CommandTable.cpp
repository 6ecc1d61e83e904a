#include "CommandTable.h"

#include <exception>

#include "Commands.h"
#include "ErrorCodes.h"
#include "RequestMembers.h"

namespace {

struct CommandEntry {
    const char* name;
    CommandHandler handler;
    ErrorCode failure; // 0: the command cannot fail
};

// Searched in this order; the first match is performed.
constexpr CommandEntry kCommands[] = {
    {"qq", QqCommand, ErrorCode{}},
    {"getCertSerial", GetCertSerialCommand, kErrGetCertSerial},
    {"s", GetCertSerialCommand, kErrGetCertSerial},
    {"getCertBase64", GetCertBase64Command, kErrGetCertBase64},
    {"signData", SignDataCommand, kErrSignData},
    {"signVerify", SignVerifyCommand, kErrSignVerify},
    {"getCertinfo", GetCertinfoCommand, kErrGetCertinfo},
    {"checkPin", CheckPinCommand, kErrCheckPin},
    {"getVerinfo", GetVerinfoCommand, ErrorCode{}},
    {"importCertIssue", ImportCertIssueCommand, ErrorCode{}},
};

} // namespace

std::string RequireText(const Json::Value& request, const char* key)
{
    auto text = ReadMemberText(request, key);
    if (!text) throw MemberNotReadable(key);
    return *std::move(text);
}

std::int32_t RequireInt(const Json::Value& request, const char* key)
{
    const auto value = ReadMemberInt(request, key);
    if (!value) throw MemberNotReadable(key);
    return *value;
}

void HandleCommand(const std::string& name, const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    for (const CommandEntry& command : kCommands) {
        if (name != command.name) continue;
        if (command.failure == ErrorCode{}) {
            command.handler(request, response, platform);
            return;
        }
        bool done = false;
        try {
            done = command.handler(request, response, platform);
        } catch (const std::exception&) {
            // An unreadable member or an error inside a helper: the library
            // gives no reason either, so the command's own code is the answer.
            done = false;
        }
        if (!done) FailWith(response, command.failure);
        return;
    }
    FailWith(response, kErrUnsupported);
}
