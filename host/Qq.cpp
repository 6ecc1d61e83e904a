// "qq", a diagnostic: the selection dialog, then a message box showing what
// the dialog wrote. The response stays null.
#include "SelectionDialog.h"

bool QqCommand(const Json::Value&, Json::Value&, HostPlatform& platform)
{
    SerialBuffer serial{};
    BringUpSelectionDialog(platform, std::wstring(), serial);
    // 我收到消息了 (I received the message)
    platform.ShowMessage(serial.data(), L"\u6211\u6536\u5230\u6D88\u606F\u4E86");
    return true;
}
