#pragma once
// Finds what the installer put into the current user's stores.
#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

#include "Handles.h"

// The first certificate of the store whose serial text equals serial; empty if none.
UniqueCertContext FindBySerial(const std::string& serial, const wchar_t* store = L"MY");
std::vector<std::string> SerialsInStore(const wchar_t* store = L"MY");

// Signs data into an attached PKCS#7 message with SHA-1, as the product does;
// throws HResultError when signing fails.
std::vector<BYTE> SignAttached(PCCERT_CONTEXT signer, const std::string& data);
// The content of a message whose signature verifies; throws otherwise.
std::string VerifiedContent(const std::vector<BYTE>& message);
