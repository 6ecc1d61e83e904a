#include "TextConv.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <vector>

#include "WinError.h"

AnsiText BstrToAnsi(BSTR text)
{
    if (!text) return nullptr;
    const int units = static_cast<int>(std::wcslen(text)) + 1;
    const int size = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    CheckWin32(size != 0, "WideCharToMultiByte");
    AnsiText out(new (std::nothrow) char[size]);
    if (!out) throw HResultError(E_OUTOFMEMORY, "BstrToAnsi");
    CheckWin32(WideCharToMultiByte(CP_ACP, 0, text, units, out.get(), size, nullptr, nullptr) != 0,
               "WideCharToMultiByte");
    return out;
}

UniqueBstr AnsiToBstr(const char* text)
{
    if (!text) return UniqueBstr();
    const int bytes = static_cast<int>(std::strlen(text)) + 1;
    const int units = MultiByteToWideChar(CP_ACP, 0, text, bytes, nullptr, 0);
    CheckWin32(units != 0, "MultiByteToWideChar");
    std::vector<wchar_t> wide(static_cast<size_t>(units));
    CheckWin32(MultiByteToWideChar(CP_ACP, 0, text, bytes, wide.data(), units) != 0, "MultiByteToWideChar");
    UniqueBstr out(SysAllocString(wide.data()));
    if (!out) throw HResultError(E_OUTOFMEMORY, "SysAllocString");
    return out;
}
