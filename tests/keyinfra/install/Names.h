#pragma once
// Encoded X.500 names and their text, for the installer.
#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

// Encodes an X.500 string ("CN=A, O=B"); values that are not printable
// strings become UTF8String. Throws HResultError.
std::vector<BYTE> EncodeName(const std::wstring& x500);
std::wstring NameText(const CERT_NAME_BLOB& name);
