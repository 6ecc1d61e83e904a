// "importCertIssue": accepted and answered; the host itself imports nothing.
#include "Commands.h"

bool ImportCertIssueCommand(const Json::Value&, Json::Value& response, HostPlatform&)
{
    response["errCode"] = 0;
    return true;
}
