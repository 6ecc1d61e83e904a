// "getCertBase64" and "getCertinfo".
#include <vector>

#include "Base64.h"
#include "Commands.h"
#include "WidenBytes.h"

bool GetCertBase64Command(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring serial = WidenBytes(RequireText(request, "certSerial"));
    std::vector<unsigned char> cert(kCertBufferSize);
    const std::int32_t length = platform.GetUserCertBySerialNum(serial.c_str(), cert.data(), kCertBufferSize);
    if (length <= 0 || length > kCertBufferSize) return false;

    std::string text = Base64Encode(cert.data(), static_cast<std::uint32_t>(length));
    if (text.empty()) return false;
    response["certBase64"] = text;
    response["errCode"] = 0;
    return true;
}

bool GetCertinfoCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::string cert = RequireText(request, "certBase64");
    const std::int32_t index = RequireInt(request, "index");
    std::string info = platform.QueryCertInfo(cert, index);
    if (info.empty()) return false;
    response["errCode"] = 0;
    response["info"] = info;
    return true;
}
