#pragma once
// Signs bytes with a personal-store certificate chosen by its serial text.
#include <string>

// The attached PKCS#7 SignedData message (SHA-1, the signer's certificate
// included, no signed attributes) over data, however long; empty when the
// serial is null or empty, matches no certificate, or the key's provider
// refuses to sign.
std::string SignBySerial(const wchar_t* serial, const std::string& data);
