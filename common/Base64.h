#pragma once
// Base64 (RFC 4648 standard alphabet, "=" padding, no line breaks) over byte
// strings that may hold zero bytes. Decoding is lenient: it never fails and
// stops at the first "=" or character outside the alphabet.
#include <cstdint>
#include <string>

extern const std::string Base64Alphabet;

std::string Base64Encode(const unsigned char* bytes, std::uint32_t length);
std::string Base64Decode(const std::string& text);

inline std::string Base64Encode(const std::string& bytes)
{
    return Base64Encode(reinterpret_cast<const unsigned char*>(bytes.data()),
                        static_cast<std::uint32_t>(bytes.size()));
}
