#pragma once
// The selection dialog's filter: which certificates of the store it shows.
#include <windows.h>
#include <wincrypt.h>

// customData is the filter text (const wchar_t*, may be null); flags and
// displayWell are not read. Shows signing certificates whose issuer or
// subject distinguished name contains the filter, ignoring the case of a to z;
// "*" has no special meaning here.
BOOL WINAPI CertDialogFilter(PCCERT_CONTEXT cert, LPARAM customData, DWORD flags, DWORD displayWell);
