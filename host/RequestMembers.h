#pragma once
// Reads a request member as text or as a 32-bit integer by the host's rules;
// an empty optional means the member is not readable that way.
//   missing or null: ""  / 0
//   string:          its bytes up to the first zero byte / not readable
//   true, false:     "true", "false" / 1, 0
//   integer:         not readable / its value if it fits 32 bits
//   fraction:        not readable / truncated toward zero if it fits 32 bits
//   array, object:   not readable / not readable
// The request is an object or null (a null request has no members).
#include <cstdint>
#include <optional>
#include <string>

#include <json/value.h>

std::optional<std::string> ReadMemberText(const Json::Value& request, const char* key);
std::optional<std::int32_t> ReadMemberInt(const Json::Value& request, const char* key);
