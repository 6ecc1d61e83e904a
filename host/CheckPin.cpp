// "checkPin": whether the PIN is right for the key of a serial's certificate.
#include "Commands.h"
#include "WidenBytes.h"

bool CheckPinCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring serial = WidenBytes(RequireText(request, "certSerial"));
    const std::wstring pin = WidenBytes(RequireText(request, "pin"));
    if (platform.VerifyCertPin(serial.c_str(), pin.c_str()) == 0) return false;
    response["errCode"] = 0;
    return true;
}
