#pragma once
// The host's error codes and their messages. The messages go to the page as
// GBK (code page 936) bytes, exactly as stored here.
#include <cstdint>

#include <json/value.h>

enum ErrorCode : std::int32_t {
    kErrGetCertSerial = 2002,
    kErrGetCertBase64 = 2003,
    kErrSignData = 2004,
    kErrSignVerify = 2005,
    kErrGetCertinfo = 2006,
    kErrCheckPin = 2007,
    kErrUnsupported = 10001,
};

// The GBK message of a code; "" for a code that has none.
const char* ErrorMessage(ErrorCode code);

// Replaces the response by the error envelope: "errCode", "errShow" 1, "errMsg".
void FailWith(Json::Value& response, ErrorCode code);
