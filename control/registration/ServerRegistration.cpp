#include "ServerRegistration.h"

#include <oleauto.h>

#include <new>
#include <string>
#include <vector>

#include "ComIds.h"
#include "ComPtr.h"
#include "Handles.h"
#include "RegistryScript.h"
#include "RegistryScriptRunner.h"
#include "ServerModule.h"
#include "WinError.h"

namespace {

constexpr int kServerScript = 101;
constexpr int kControlScript = 107;

volatile LONG g_perUser = 0;

bool PerUser() noexcept { return InterlockedCompareExchange(&g_perUser, 0, 0) != 0; }

// Numbers and names in the scripts must not follow the caller's locale.
class SystemThreadLocale {
public:
    SystemThreadLocale() noexcept : saved_(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
    ~SystemThreadLocale() { SetThreadLocale(saved_); }
    SystemThreadLocale(const SystemThreadLocale&) = delete;
    SystemThreadLocale& operator=(const SystemThreadLocale&) = delete;

private:
    LCID saved_;
};

std::wstring ScriptText(int id)
{
    const HMODULE module = ServerModuleHandle();
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), L"REGISTRY");
    CheckWin32(found != nullptr, "FindResourceW");
    const HGLOBAL loaded = LoadResource(module, found);
    CheckWin32(loaded != nullptr, "LoadResource");
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    const int size = static_cast<int>(SizeofResource(module, found));
    if (!bytes || size == 0) return std::wstring();
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes, size, nullptr, 0);
    CheckWin32(units != 0, "MultiByteToWideChar");
    std::wstring text(static_cast<size_t>(units), L'\0');
    CheckWin32(MultiByteToWideChar(CP_ACP, 0, bytes, size, text.data(), units) != 0, "MultiByteToWideChar");
    return text;
}

std::wstring QuotesDoubled(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'\'') out += L'\'';
    }
    return out;
}

Replacements ScriptReplacements(int id)
{
    const std::wstring module = QuotesDoubled(ServerModulePath());
    Replacements replacements{{L"MODULE", module}, {L"MODULE_RAW", module}, {L"APPID", kServerAppId}};
    if (id == kControlScript) replacements[L"OLEMISC"] = std::to_wstring(kWevraCtrlMiscStatus);
    return replacements;
}

// HKCU\Software\Classes, made when missing (a fresh profile has none).
UniqueRegKey UserClassesKey()
{
    UniqueRegKey key;
    const LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, key.put(), nullptr);
    if (status != ERROR_SUCCESS) throw HResultError(HRESULT_FROM_WIN32(status), "RegCreateKeyExW(Software\\Classes)");
    return key;
}

void RunScript(int id, ScriptMode mode)
{
    std::vector<ScriptKey> roots;
    try {
        roots = ParseRegistryScript(ExpandReplacements(ScriptText(id), ScriptReplacements(id)));
    } catch (const ScriptError& e) {
        // The platform's registrar reports a bad script this way too.
        throw HResultError(DISP_E_EXCEPTION, e.what());
    }
    if (PerUser()) {
        const UniqueRegKey classes = UserClassesKey();
        RunRegistryScript(roots, mode, classes.get());
    } else {
        RunRegistryScript(roots, mode, HKEY_CLASSES_ROOT);
    }
}

ComPtr<ITypeLib> LoadServerTypeLib(std::wstring& path)
{
    path = ServerModulePath();
    ComPtr<ITypeLib> library;
    if (SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()))) return library;
    const size_t dot = path.find_last_of(L'.');
    const size_t slash = path.find_last_of(L"\\/");
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) path.erase(dot);
    path += L".tlb";
    CheckHr(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()), "LoadTypeLibEx");
    return library;
}

// Some oleaut32 builds register "for user" type libraries machine-wide; with
// HKCR mapped onto the user's classes while they run, per-user stays per-user.
class ClassesRootMappedToUser {
public:
    ClassesRootMappedToUser() : classes_(UserClassesKey())
    {
        const LONG status = RegOverridePredefKey(HKEY_CLASSES_ROOT, classes_.get());
        if (status != ERROR_SUCCESS) throw HResultError(HRESULT_FROM_WIN32(status), "RegOverridePredefKey");
    }
    ~ClassesRootMappedToUser() { RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr); }
    ClassesRootMappedToUser(const ClassesRootMappedToUser&) = delete;
    ClassesRootMappedToUser& operator=(const ClassesRootMappedToUser&) = delete;

private:
    UniqueRegKey classes_;
};

template <class Fn>
Fn UserTypeLibFunction(const char* name)
{
    const HMODULE oleaut = GetModuleHandleW(L"OLEAUT32.DLL");
    return oleaut ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(oleaut, name))) : nullptr;
}

void RegisterServerTypeLib()
{
    std::wstring path;
    const ComPtr<ITypeLib> library = LoadServerTypeLib(path);
    using RegisterFn = HRESULT(WINAPI*)(ITypeLib*, OLECHAR*, OLECHAR*);
    const auto forUser = PerUser() ? UserTypeLibFunction<RegisterFn>("RegisterTypeLibForUser") : nullptr;
    if (forUser) {
        const ClassesRootMappedToUser mapped;
        CheckHr(forUser(library.get(), path.data(), nullptr), "RegisterTypeLibForUser");
    } else {
        CheckHr(RegisterTypeLib(library.get(), path.data(), nullptr), "RegisterTypeLib");
    }
}

void UnregisterServerTypeLib()
{
    std::wstring path;
    const ComPtr<ITypeLib> library = LoadServerTypeLib(path);
    TLIBATTR* attr = nullptr;
    CheckHr(library->GetLibAttr(&attr), "ITypeLib::GetLibAttr");
    const TLIBATTR copy = *attr;
    library->ReleaseTLibAttr(attr);

    using UnregisterFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
    const auto forUser = PerUser() ? UserTypeLibFunction<UnregisterFn>("UnRegisterTypeLibForUser") : nullptr;
    if (forUser) {
        const ClassesRootMappedToUser mapped;
        CheckHr(forUser(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind),
                "UnRegisterTypeLibForUser");
    } else {
        CheckHr(UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid, copy.syskind),
                "UnRegisterTypeLib");
    }
}

template <class Steps>
HRESULT RunSteps(Steps steps) noexcept
{
    try {
        const SystemThreadLocale locale;
        steps();
        return S_OK;
    } catch (const HResultError& e) {
        return e.hr();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

} // namespace

void EnablePerUserRegistration() noexcept { InterlockedExchange(&g_perUser, 1); }

HRESULT RegisterServer() noexcept
{
    return RunSteps([] {
        RunScript(kServerScript, ScriptMode::Register);
        RunScript(kControlScript, ScriptMode::Register);
        RegisterServerTypeLib();
    });
}

HRESULT UnregisterServer() noexcept
{
    return RunSteps([] {
        RunScript(kControlScript, ScriptMode::Unregister);
        UnregisterServerTypeLib();
        RunScript(kServerScript, ScriptMode::Unregister);
    });
}
