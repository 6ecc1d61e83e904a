#include "WideText.h"

#include <windows.h>

#include <vector>

std::optional<std::string> UnwidenBytes(const wchar_t* text)
{
    std::string bytes;
    for (const wchar_t* p = text; *p != 0; ++p) {
        const auto unit = static_cast<unsigned>(static_cast<unsigned short>(*p));
        if (unit <= 0x7F)
            bytes += static_cast<char>(unit);
        else if (unit >= 0xFF80)
            bytes += static_cast<char>(unit & 0xFF);
        else
            return std::nullopt;
    }
    return bytes;
}

std::wstring UnwidenUtf8(const wchar_t* text)
{
    const std::optional<std::string> bytes = UnwidenBytes(text);
    if (!bytes) return text; // already real UTF-16
    if (bytes->empty()) return std::wstring();
    const int units = MultiByteToWideChar(CP_UTF8, 0, bytes->data(), static_cast<int>(bytes->size()), nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes->data(), static_cast<int>(bytes->size()), &wide[0], units);
    return wide;
}
