// "signData", "signVerify" and "checkPin": the key operations.
#include <limits>
#include <vector>

#include "Base64.h"
#include "Commands.h"
#include "WidenBytes.h"

namespace {

bool FitsInt32(std::size_t size)
{
    return size <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
}

const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

} // namespace

bool SignDataCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring serial = WidenBytes(RequireText(request, "certSerial"));
    const std::string data = RequireText(request, "data");
    if (!FitsInt32(data.size())) return false;

    std::vector<unsigned char> sign(kSignBufferSize);
    const std::int32_t length = platform.SignPKCS7ForSerialNum(
        serial.c_str(), Bytes(data), static_cast<std::int32_t>(data.size()), sign.data(), kSignBufferSize);
    if (length <= 0 || length > kSignBufferSize) return false;

    std::string text = Base64Encode(sign.data(), static_cast<std::uint32_t>(length));
    if (text.empty()) return false;
    response["errCode"] = 0;
    response["sign"] = text;
    return true;
}

bool SignVerifyCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::string data = RequireText(request, "data");
    const std::string sign = Base64Decode(RequireText(request, "sign"));
    if (!FitsInt32(data.size()) || !FitsInt32(sign.size())) return false;

    // The request names no certificate: the message carries its signer's.
    if (platform.CSPVerifySignPKCS7(Bytes(data), static_cast<std::int32_t>(data.size()), Bytes(sign),
                                    static_cast<std::int32_t>(sign.size())) <= 0)
        return false;
    response["errCode"] = 0;
    return true;
}

bool CheckPinCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring serial = WidenBytes(RequireText(request, "certSerial"));
    const std::wstring pin = WidenBytes(RequireText(request, "pin"));
    if (platform.VerifyCertPin(serial.c_str(), pin.c_str()) == 0) return false;
    response["errCode"] = 0;
    return true;
}
