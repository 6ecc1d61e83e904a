// "signData": an attached PKCS#7 signature of the data, as Base64.
#include <vector>

#include "Base64.h"
#include "Commands.h"
#include "WidenBytes.h"

bool SignDataCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring serial = WidenBytes(RequireText(request, "certSerial"));
    const std::string data = RequireText(request, "data");
    if (!FitsInt32(data.size())) return false;

    std::vector<unsigned char> sign(kSignBufferSize);
    const std::int32_t length = platform.SignPKCS7ForSerialNum(
        serial.c_str(), AsBytes(data), static_cast<std::int32_t>(data.size()), sign.data(), kSignBufferSize);
    if (length <= 0 || length > kSignBufferSize) return false;

    std::string text = Base64Encode(sign.data(), static_cast<std::uint32_t>(length));
    if (text.empty()) return false;
    response["errCode"] = 0;
    response["sign"] = text;
    return true;
}
