// "getCertBase64": the certificate of a serial, as Base64 DER.
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
