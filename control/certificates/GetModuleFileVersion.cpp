#include "GetModuleFileVersion.h"

#include <cwchar>
#include <vector>

namespace {

std::wstring ModulePath(HMODULE module)
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

struct Translation {
    WORD language;
    WORD codePage;
};

} // namespace

FileVersionText GetModuleFileVersion(HMODULE module)
{
    const std::wstring path = ModulePath(module);
    if (path.empty()) return {S_FALSE, L""};
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return {S_FALSE, L""};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {S_OK, L""};

    void* table = nullptr;
    UINT tableSize = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &table, &tableSize)) tableSize = 0;
    const auto* translations = static_cast<const Translation*>(table);

    std::wstring text;
    for (UINT i = 0; i < tableSize / sizeof(Translation); ++i) {
        wchar_t query[64];
        std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translations[i].language,
                      translations[i].codePage);
        void* value = nullptr;
        UINT valueLength = 0;
        if (VerQueryValueW(block.data(), query, &value, &valueLength) && value) text += static_cast<const wchar_t*>(value);
    }
    return {S_OK, text};
}

HMODULE ModuleOfThisCode()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ModuleOfThisCode), &module);
    return module;
}
