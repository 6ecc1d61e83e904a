#pragma once
#include <string>

// Widens an 8-bit string byte by byte, each byte taken as signed: 0x00-0x7F
// keep their value, 0x80-0xFF become 0xFF80-0xFFFF. No code page is involved;
// this is what the vendor signing library expects of its wide texts.
std::wstring WidenBytes(const std::string& bytes);
