#include "RequestMembers.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const Json::Value* FindMember(const Json::Value& request, const char* key)
{
    if (!request.isObject()) return nullptr;
    return request.find(key, key + std::strlen(key));
}

} // namespace

std::optional<std::string> ReadMemberText(const Json::Value& request, const char* key)
{
    const Json::Value* member = FindMember(request, key);
    if (member == nullptr) return std::string();
    switch (member->type()) {
    case Json::nullValue:
        return std::string();
    case Json::booleanValue:
        return std::string(member->asBool() ? "true" : "false");
    case Json::stringValue: {
        // asString() would also turn numbers into text; read the bytes as
        // parsed, and stop at an escaped zero character as C text would.
        const char* begin = nullptr;
        const char* end = nullptr;
        if (!member->getString(&begin, &end)) return std::string();
        const std::string bytes(begin, end);
        return bytes.substr(0, bytes.find('\0'));
    }
    default:
        return std::nullopt;
    }
}

std::optional<std::int32_t> ReadMemberInt(const Json::Value& request, const char* key)
{
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const Json::Value* member = FindMember(request, key);
    if (member == nullptr) return 0;
    switch (member->type()) {
    case Json::nullValue:
        return 0;
    case Json::booleanValue:
        return member->asBool() ? 1 : 0;
    case Json::intValue: {
        const Json::LargestInt value = member->asLargestInt();
        if (value < kMin || value > kMax) return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    case Json::uintValue: {
        const Json::LargestUInt value = member->asLargestUInt();
        if (value > static_cast<Json::LargestUInt>(kMax)) return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    case Json::realValue: {
        const double truncated = std::trunc(member->asDouble());
        // Written so that NaN fails the test too.
        if (!(truncated >= static_cast<double>(kMin) && truncated <= static_cast<double>(kMax))) return std::nullopt;
        return static_cast<std::int32_t>(truncated);
    }
    default:
        return std::nullopt;
    }
}
