#pragma once
// Server-wide state of the DLL: its module handle and the lock count that
// decides whether it may unload. Live instances and LockServer(TRUE) hold locks.
#include <windows.h>

#include <string>

HMODULE ServerModuleHandle() noexcept;
void LockServerModule() noexcept;
void UnlockServerModule() noexcept;
LONG ServerLockCount() noexcept;

// Full path of this DLL. Throws HResultError with
// HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) for a path of MAX_PATH or more.
std::wstring ServerModulePath();
