// "signVerify": whether a Base64 PKCS#7 signature is valid for the data.
#include "Base64.h"
#include "Commands.h"

bool SignVerifyCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::string data = RequireText(request, "data");
    const std::string sign = Base64Decode(RequireText(request, "sign"));
    if (!FitsInt32(data.size()) || !FitsInt32(sign.size())) return false;

    // The request names no certificate: the message carries its signer's.
    if (platform.CSPVerifySignPKCS7(AsBytes(data), static_cast<std::int32_t>(data.size()), AsBytes(sign),
                                    static_cast<std::int32_t>(sign.size())) <= 0)
        return false;
    response["errCode"] = 0;
    return true;
}
