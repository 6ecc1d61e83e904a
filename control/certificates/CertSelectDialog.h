#pragma once
// The system's certificate selection dialog in cryptdlg.dll, which mingw does
// not declare: the selection structure and the function types, as documented
// for CERT_SELECT_STRUCT_W and CertSelectCertificateW.
#include <windows.h>
#include <wincrypt.h>

using CertSelectFilterProc = BOOL(WINAPI*)(PCCERT_CONTEXT cert, LPARAM customData, DWORD flags, DWORD displayWell);
using CertSelectHookProc = UINT(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

struct CertSelectStructW {
    DWORD dwSize;
    HWND hwndParent;
    HINSTANCE hInstance;
    LPCWSTR pTemplateName;
    DWORD dwFlags;
    LPCWSTR szTitle;
    DWORD cCertStore;
    HCERTSTORE* arrayCertStore;
    LPCSTR szPurposeOid;
    DWORD cCertContext;
    PCCERT_CONTEXT* arrayCertContext;
    LPARAM lCustData;
    CertSelectHookProc pfnHook;
    CertSelectFilterProc pfnFilter;
    LPCWSTR szHelpFileName;
    DWORD dwHelpId;
    HCRYPTPROV hprov;
};
#ifndef _WIN64
static_assert(sizeof(CertSelectStructW) == 68, "the 32-bit dialog expects a 68-byte structure");
#endif

using CertSelectCertificateProc = BOOL(WINAPI*)(CertSelectStructW* selection);
