#pragma once
// Small conversions the installer's command line and output need.
#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
// Upper-case hex, two digits a byte, in the order given.
std::string HexText(const BYTE* bytes, size_t count);
// Hex digits (any case, even count) to bytes; throws std::invalid_argument.
std::vector<BYTE> ParseHex(const std::wstring& text);
// The serial text of a certificate: stored bytes from last to first.
std::string SerialText(const CRYPT_INTEGER_BLOB& serial);
