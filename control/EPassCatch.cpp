#include "EPassCatch.h"

#include <windows.h>

#include "Handles.h"

void AdjustEPassCatch() noexcept
{
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\ZJCA\\ePass3003", 0, KEY_READ | KEY_WRITE, key.put()) !=
        ERROR_SUCCESS)
        return;
    DWORD current = 0;
    DWORD size = sizeof(current);
    const LONG read = RegQueryValueExW(key.get(), L"Catch", nullptr, nullptr, reinterpret_cast<BYTE*>(&current), &size);
    if (read == ERROR_SUCCESS && current == 1) return;
    const DWORD one = 1;
    RegSetValueExW(key.get(), L"Catch", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
}
