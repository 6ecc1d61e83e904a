#pragma once
// Conversions between BSTR (UTF-16) and 8-bit text in the system's ANSI code
// page, for the control's scripting boundary. Never UTF-8.
#include <windows.h>
#include <oleauto.h>

#include <memory>

#include "Handles.h"

// Owned, zero-terminated 8-bit text; null when the BSTR was null.
using AnsiText = std::unique_ptr<char[]>;

// Converts up to the first zero unit. Throws HResultError on a refused
// conversion (HRESULT_FROM_WIN32 of the last error) or E_OUTOFMEMORY.
AnsiText BstrToAnsi(BSTR text);

// Converts up to the first zero byte into a new BSTR; null input gives null.
// Throws HResultError as BstrToAnsi does.
UniqueBstr AnsiToBstr(const char* text);
