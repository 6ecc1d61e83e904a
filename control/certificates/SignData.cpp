#include "SignData.h"

#include "Base64.h"
#include "SignBySerial.h"

namespace {
constexpr long kAttachedSha1 = 1;
}

std::string SignData(const wchar_t* serial, long signType, const std::string& originalBase64)
{
    const std::string data = Base64Decode(originalBase64);
    if (signType != kAttachedSha1) return std::string();
    const std::string message = SignBySerial(serial, data);
    if (message.empty()) return std::string();
    return Base64Encode(message);
}
