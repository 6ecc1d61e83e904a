// "getVerinfo": the host's version. No member is read.
#include "Commands.h"

bool GetVerinfoCommand(const Json::Value&, Json::Value& response, HostPlatform&)
{
    response["errCode"] = 0;
    response["ver"] = "1.0.0";
    return true;
}
