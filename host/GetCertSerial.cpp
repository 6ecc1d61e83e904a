// "getCertSerial" (also "s"): the serial text of the certificate the user picks.
#include "SelectionDialog.h"
#include "WidenBytes.h"

bool GetCertSerialCommand(const Json::Value& request, Json::Value& response, HostPlatform& platform)
{
    const std::wstring issuer = WidenBytes(RequireText(request, "issuer"));
    SerialBuffer serial{};
    if (BringUpSelectionDialog(platform, issuer, serial) == 0) return false;

    // The narrow serial holds 127 bytes and a terminating zero; a text that
    // fills all 128 units has no room and is refused, as is any unit that
    // is not a single byte.
    std::string narrow;
    for (std::int32_t i = 0; i < kSerialUnits; ++i) {
        const auto unit = static_cast<std::uint32_t>(serial[static_cast<std::size_t>(i)]);
        if (unit == 0) {
            if (narrow.empty()) return false;
            response["certSerial"] = narrow;
            response["errCode"] = 0;
            return true;
        }
        if (unit > 0xFF) return false;
        narrow += static_cast<char>(unit);
    }
    return false;
}
