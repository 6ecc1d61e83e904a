#pragma once
// Registration of the server: the two registry scripts and the type library,
// per machine or, once per-user mode is on, for the current user only.
#include <windows.h>

// Switches per-user mode on for the rest of the process's life.
void EnablePerUserRegistration() noexcept;

// The bodies of DllRegisterServer and DllUnregisterServer: stop at the first
// failing step and return its HRESULT.
HRESULT RegisterServer() noexcept;
HRESULT UnregisterServer() noexcept;
