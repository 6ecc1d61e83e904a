// "getCertinfo": one field of a Base64 certificate, by info-type code.
#include "Commands.h"

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
