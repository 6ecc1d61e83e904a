#pragma once
// The host's commands. Each handler reads its request members, does its work
// through the platform and fills the response; it returns false (or throws)
// to have the response replaced by the command's error envelope.
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

#include <json/value.h>

#include "HostPlatform.h"

using CommandHandler = bool (*)(const Json::Value& request, Json::Value& response, HostPlatform& platform);

// A request member of a JSON type that the command cannot read.
class MemberNotReadable : public std::runtime_error {
public:
    explicit MemberNotReadable(const char* key) : std::runtime_error(std::string("member not readable: ") + key) {}
};

std::string RequireText(const Json::Value& request, const char* key);
std::int32_t RequireInt(const Json::Value& request, const char* key);

// Byte counts cross to OlmoSignCsp as 32-bit integers.
inline bool FitsInt32(std::size_t size)
{
    return size <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}
inline const unsigned char* AsBytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

// Buffer sizes handed to OlmoSignCsp.
constexpr std::int32_t kSerialUnits = 128;
constexpr std::int32_t kCertBufferSize = 16384;
constexpr std::int32_t kSignBufferSize = 16384;

bool QqCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool GetCertSerialCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool GetCertBase64Command(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool SignDataCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool SignVerifyCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool GetCertinfoCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool CheckPinCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool GetVerinfoCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
bool ImportCertIssueCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform);
