#pragma once
// The body of SignData over 8-bit texts.
#include <string>

// Signs the bytes that originalBase64 decodes to (possibly none) when signType
// is 1; the Base64 text of the signed message, or empty when nothing was signed.
std::string SignData(const wchar_t* serial, long signType, const std::string& originalBase64);
