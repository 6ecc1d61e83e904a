#include "ServerModule.h"

#include <array>

#include "WinError.h"

namespace {
HMODULE g_module = nullptr;
LONG g_locks = 0;
} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

HMODULE ServerModuleHandle() noexcept { return g_module; }
void LockServerModule() noexcept { InterlockedIncrement(&g_locks); }
void UnlockServerModule() noexcept { InterlockedDecrement(&g_locks); }
LONG ServerLockCount() noexcept { return InterlockedCompareExchange(&g_locks, 0, 0); }

std::wstring ServerModulePath()
{
    std::array<wchar_t, MAX_PATH> path{};
    const DWORD length = GetModuleFileNameW(g_module, path.data(), static_cast<DWORD>(path.size()));
    CheckWin32(length != 0, "GetModuleFileNameW");
    if (length >= path.size())
        throw HResultError(HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), "GetModuleFileNameW: path too long");
    return std::wstring(path.data(), length);
}
