#include "SelectionDialog.h"

std::int32_t BringUpSelectionDialog(HostPlatform& platform, const std::wstring& issuer, SerialBuffer& serial)
{
    const std::uintptr_t owner = platform.PrepareDialogOwner();
    return platform.SelectCertForIssuerDialog(owner, issuer.c_str(), serial.data(), kSerialUnits);
}
