#pragma once
// Picks a command by its exact, case-sensitive name and performs it. A name
// that is not in the table, the empty one included, is answered 10001.
#include <string>

#include <json/value.h>

#include "HostPlatform.h"

void HandleCommand(const std::string& name, const Json::Value& request, Json::Value& response, HostPlatform& platform);
