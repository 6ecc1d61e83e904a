#pragma once
// Brings up OlmoSignCsp's certificate selection dialog over the desktop
// window, for "getCertSerial", "s" and "qq".
#include <array>
#include <string>

#include "Commands.h"

// One unit more than the library is told about, always zero, so the buffer is
// terminated whatever the library wrote into its 128 units.
using SerialBuffer = std::array<wchar_t, kSerialUnits + 1>;

std::int32_t BringUpSelectionDialog(HostPlatform& platform, const std::wstring& issuer, SerialBuffer& serial);
