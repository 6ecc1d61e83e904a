#pragma once
// What the soft-token CSP and its users (the certificate installer, tests)
// agree on: its name, its type and the private parameter that sets a PIN.
#include <windows.h>
#include <wincrypt.h>

#define KEYINFRA_SOFTTOKEN_PROV_W L"KeyInfra Soft Token CSP"
#define KEYINFRA_SOFTTOKEN_PROV_A "KeyInfra Soft Token CSP"
constexpr DWORD kSoftTokenProvType = PROV_RSA_FULL;
constexpr wchar_t kSoftTokenDllName[] = L"KeyInfraSoftToken.dll";

// CryptSetProvParam(container context, kSetSignaturePinParam, "pin", 0)
// stores the container's PIN. Outside the range of Microsoft's parameters.
constexpr DWORD kSetSignaturePinParam = 0x4B490001;

// Where the CSP keeps the PINs of its containers (one subkey per container).
constexpr wchar_t kSoftTokenPinKey[] = L"Software\\KeyInfra\\SoftToken";
