// "getCertSerial" (also "s") and the diagnostic "qq": both bring up the
// vendor library's certificate selection dialog over the desktop window.
#include <array>
#include <cstdint>

#include "Commands.h"
#include "WidenBytes.h"

namespace {

// One unit more than the library is told about, always zero, so the buffer is
// terminated whatever the library wrote into its 128 units.
using SerialBuffer = std::array<wchar_t, kSerialUnits + 1>;

std::int32_t BringUpSelectionDialog(HostPlatform& platform, const std::wstring& issuer, SerialBuffer& serial)
{
    const std::uintptr_t owner = platform.PrepareDialogOwner();
    return platform.SelectCertForIssuerDialog(owner, issuer.c_str(), serial.data(), kSerialUnits);
}

} // namespace

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

bool QqCommand(const Json::Value&, Json::Value&, HostPlatform& platform)
{
    SerialBuffer serial{};
    BringUpSelectionDialog(platform, std::wstring(), serial);
    // 我收到消息了 (I received the message)
    platform.ShowMessage(serial.data(), L"\u6211\u6536\u5230\u6D88\u606F\u4E86");
    return true; // the response stays null
}
