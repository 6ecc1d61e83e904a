#pragma once
#include <windows.h>

#include <string>

// Lets the user pick one of the personal store's certificates whose issuer
// name contains issuerFilter (ignoring letter case; an empty filter offers
// every certificate), through the system's selection dialog. Returns the
// chosen certificate's serial text, or "" when none was chosen.
std::wstring SelectCertificateSerial(HWND owner, const std::wstring& issuerFilter);
