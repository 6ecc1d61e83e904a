#pragma once
// The body of SelectCert: a serial text, a list of matches, or the user's pick.
#include <windows.h>

#include <string>

// autoSelected 2 lists every match as name||serial joined by &&&; 1 takes the
// first match; any other value takes the only match or asks the user in the
// selection dialog, owned by owner, when there are several. No match gives
// the empty text.
std::wstring SelectCert(const wchar_t* filter, short autoSelected, HWND owner);
