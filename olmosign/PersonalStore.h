#pragma once
// The current user's "MY" store and certificates found in it by serial text
// (upper-case hex, most significant byte first).
#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "Handles.h"

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

UniqueCertStore OpenPersonalStore();

std::wstring SerialText(PCCERT_CONTEXT cert);

// The first certificate in store order whose serial text equals serial,
// ignoring letter case; null when none does.
UniqueCertContext FindBySerial(HCERTSTORE store, const wchar_t* serial);
