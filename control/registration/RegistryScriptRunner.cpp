#include "RegistryScriptRunner.h"

#include <cwctype>
#include <string>

#include "Handles.h"
#include "WinError.h"

namespace {

void CheckReg(LONG status, const char* call, const std::wstring& name)
{
    if (status != ERROR_SUCCESS) {
        std::string narrow;
        for (wchar_t c : name) narrow += (c < 0x80) ? static_cast<char>(c) : '?';
        throw HResultError(HRESULT_FROM_WIN32(status), std::string(call) + "(" + narrow + ") failed with " +
                                                           std::to_string(status));
    }
}

void SetValue(HKEY key, const wchar_t* name, const ScriptValue& value)
{
    LONG status = ERROR_SUCCESS;
    switch (value.type) {
    case ScriptValue::Type::String:
        status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                                static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
        break;
    case ScriptValue::Type::Dword: {
        const DWORD number = value.number;
        status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
        break;
    }
    case ScriptValue::Type::Binary:
        status = RegSetValueExW(key, name, 0, REG_BINARY, value.bytes.data(), static_cast<DWORD>(value.bytes.size()));
        break;
    }
    CheckReg(status, "RegSetValueExW", name ? name : L"(default)");
}

HKEY RootHandle(const std::wstring& name, HKEY classesRoot)
{
    std::wstring upper;
    for (wchar_t c : name) upper += static_cast<wchar_t>(std::towupper(c));
    if (upper == L"HKCR" || upper == L"HKEY_CLASSES_ROOT") return classesRoot;
    if (upper == L"HKCU" || upper == L"HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
    if (upper == L"HKLM" || upper == L"HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
    return HKEY_USERS;
}

void RegisterKey(HKEY parent, const ScriptKey& key)
{
    if (key.modifier == KeyModifier::ForceRemove || key.modifier == KeyModifier::Delete)
        RegDeleteTreeW(parent, key.name.c_str());
    if (key.modifier == KeyModifier::Delete) return;

    UniqueRegKey created;
    CheckReg(RegCreateKeyExW(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, created.put(), nullptr),
             "RegCreateKeyExW", key.name);
    if (key.defaultValue) SetValue(created.get(), nullptr, *key.defaultValue);
    for (const auto& value : key.values) SetValue(created.get(), value.name.c_str(), value.value);
    for (const auto& subkey : key.subkeys) RegisterKey(created.get(), subkey);
}

void UnregisterKey(HKEY parent, const ScriptKey& key)
{
    if (key.modifier == KeyModifier::ForceRemove || key.modifier == KeyModifier::Delete) {
        RegDeleteTreeW(parent, key.name.c_str());
        return;
    }
    UniqueRegKey opened;
    if (RegOpenKeyExW(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, opened.put()) != ERROR_SUCCESS) return;
    for (const auto& subkey : key.subkeys) UnregisterKey(opened.get(), subkey);
    for (const auto& value : key.values) RegDeleteValueW(opened.get(), value.name.c_str());
    if (key.modifier == KeyModifier::NoRemove) return;

    // A key that still holds subkeys not named by the script is someone else's too.
    DWORD subkeys = 0;
    RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    opened.reset();
    if (subkeys == 0) RegDeleteKeyW(parent, key.name.c_str());
}

} // namespace

void RunRegistryScript(const std::vector<ScriptKey>& roots, ScriptMode mode, HKEY classesRoot)
{
    for (const auto& root : roots) {
        const HKEY handle = RootHandle(root.name, classesRoot);
        for (const auto& key : root.subkeys) {
            if (mode == ScriptMode::Register)
                RegisterKey(handle, key);
            else
                UnregisterKey(handle, key);
        }
    }
}
