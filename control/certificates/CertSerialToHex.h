#pragma once
// The serial text by which every certificate method finds a certificate again:
// upper-case hex, most significant byte first, leading zero bytes kept.
#include <windows.h>
#include <wincrypt.h>

#include <string>

// An absent context gives the empty text. Serials of any length are written whole.
std::wstring CertSerialToHex(PCCERT_CONTEXT cert);
