// "getVerinfo" and "importCertIssue": answered without reading the request.
#include "Commands.h"

bool GetVerinfoCommand(const Json::Value&, Json::Value& response, HostPlatform&)
{
    response["errCode"] = 0;
    response["ver"] = "1.0.0";
    return true;
}

bool ImportCertIssueCommand(const Json::Value&, Json::Value& response, HostPlatform&)
{
    response["errCode"] = 0;
    return true;
}
