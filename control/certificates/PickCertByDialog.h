#pragma once
// Lets the user pick a certificate of the personal store in the system's
// selection dialog (cryptdlg.dll, loaded once per process).
#include <windows.h>

#include <string>

// The chosen certificate's serial text, or the empty text when the dialog is
// unavailable or closed without a choice. The filter text is not changed.
std::wstring PickCertByDialog(HWND owner, const wchar_t* filter);
