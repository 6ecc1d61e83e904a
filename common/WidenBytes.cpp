#include "WidenBytes.h"

#include <cstdint>

std::wstring WidenBytes(const std::string& bytes)
{
    std::wstring wide(bytes.size(), L'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        wide[i] = static_cast<wchar_t>(static_cast<std::uint16_t>(static_cast<std::int8_t>(bytes[i])));
    return wide;
}
