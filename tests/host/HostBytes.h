#pragma once
// Builds request frames and compares response frames byte by byte.
#include <cstdint>
#include <cstdio>
#include <string>

inline std::string LengthBytes(std::uint32_t length)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return bytes;
}

inline std::string FrameOf(const std::string& body)
{
    return LengthBytes(static_cast<std::uint32_t>(body.size())) + body;
}

// Shows bytes as hex, so that a failing comparison says which byte differs.
inline std::string Hex(const std::string& bytes)
{
    std::string out;
    char cell[4];
    for (unsigned char c : bytes) {
        std::snprintf(cell, sizeof cell, "%02X ", c);
        out += cell;
    }
    return out;
}
