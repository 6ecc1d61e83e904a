#pragma once
// The current user's personal store "MY", and finding a certificate in it by
// its serial text. Shared by export, signing and the PIN check.
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "Handles.h"

// Upper-cases a to z only, as the C run-time does in its default locale; a null
// text gives the empty text. The caller's text is never changed.
std::wstring UpperCaseAscii(const wchar_t* text);

// Opens the store with the given provider context (0 for none); an empty
// handle when it cannot be opened.
UniqueCertStore OpenPersonalStore(HCRYPTPROV prov);

// The first certificate in store order whose serial text equals upperSerial
// exactly; an empty handle when none does.
UniqueCertContext FindCertBySerial(HCERTSTORE store, const std::wstring& upperSerial);

// Holds a provider context acquired for the store walk; a failed acquisition
// simply holds none.
UniqueCryptProv AcquireDefaultContext(DWORD flags);
