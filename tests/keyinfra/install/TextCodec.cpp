#include "TextCodec.h"

#include <stdexcept>

std::string ToUtf8(const std::wstring& text)
{
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string HexText(const BYTE* bytes, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(count * 2);
    for (size_t i = 0; i < count; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

namespace {
int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}
} // namespace

std::vector<BYTE> ParseHex(const std::wstring& text)
{
    if (text.empty() || text.size() % 2 != 0) throw std::invalid_argument("hex text needs an even, non-zero number of digits");
    std::vector<BYTE> out;
    for (size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigit(text[i]);
        const int low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) throw std::invalid_argument("not a hex digit in " + ToUtf8(text));
        out.push_back(static_cast<BYTE>(high << 4 | low));
    }
    return out;
}

std::string SerialText(const CRYPT_INTEGER_BLOB& serial)
{
    std::vector<BYTE> msbFirst(serial.pbData, serial.pbData + serial.cbData);
    return HexText(std::vector<BYTE>(msbFirst.rbegin(), msbFirst.rend()).data(), msbFirst.size());
}
