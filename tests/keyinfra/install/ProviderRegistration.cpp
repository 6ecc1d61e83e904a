#include <string>

#include "CertInstaller.h"
#include "Handles.h"
#include "SoftTokenProvider.h"
#include "WinError.h"

namespace {
const std::wstring kProviderKey = std::wstring(L"Software\\Microsoft\\Cryptography\\Defaults\\Provider\\") + KEYINFRA_SOFTTOKEN_PROV_W;

void CheckRegistry(LSTATUS status, const char* call)
{
    if (status != ERROR_SUCCESS) throw HResultError(HRESULT_FROM_WIN32(status), std::string(call) + " failed with " + std::to_string(status));
}
} // namespace

void RegisterSoftTokenProvider(const std::wstring& dllPath)
{
    CheckWin32(GetFileAttributesW(dllPath.c_str()) != INVALID_FILE_ATTRIBUTES, "GetFileAttributesW(soft-token DLL)");
    UniqueRegKey key;
    CheckRegistry(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProviderKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr),
                  "RegCreateKeyExW");
    // A plain string: the loader refuses an expandable one.
    CheckRegistry(RegSetValueExW(key.get(), L"Image Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(dllPath.c_str()),
                                 static_cast<DWORD>((dllPath.size() + 1) * sizeof(wchar_t))),
                  "RegSetValueExW(Image Path)");
    const DWORD type = kSoftTokenProvType;
    CheckRegistry(RegSetValueExW(key.get(), L"Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof(type)),
                  "RegSetValueExW(Type)");
}

void UnregisterSoftTokenProvider()
{
    const LSTATUS status = RegDeleteKeyW(HKEY_LOCAL_MACHINE, kProviderKey.c_str());
    if (status != ERROR_FILE_NOT_FOUND) CheckRegistry(status, "RegDeleteKeyW");
}

std::wstring SoftTokenDllBesideProgram()
{
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        CheckWin32(length != 0, "GetModuleFileNameW");
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    path.resize(length);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + kSoftTokenDllName;
}
