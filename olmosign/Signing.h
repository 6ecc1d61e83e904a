#pragma once
// Attached PKCS#7 SignedData with the signer's certificate included.
#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

// Signs data with the certificate's private key, through the key's own
// provider (which may ask for its PIN). The digest is SHA-256 when that
// provider can hash it, SHA-1 otherwise.
std::vector<unsigned char> SignAttached(PCCERT_CONTEXT cert, const unsigned char* data, DWORD dataLength);

// True when message is a signed message whose first signature is valid for
// its included signer certificate and whose content is exactly data.
bool VerifyAttached(const unsigned char* data, DWORD dataLength, const unsigned char* message, DWORD messageLength);
