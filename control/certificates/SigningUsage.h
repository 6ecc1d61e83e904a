#pragma once
// The key-usage test that decides whether a certificate is offered for signing.
#include <windows.h>
#include <wincrypt.h>

// True when the certificate's key usage has the digital-signature bit; a
// certificate without a key-usage extension has no usage bits.
bool HasDigitalSignatureUsage(PCCERT_CONTEXT cert);
