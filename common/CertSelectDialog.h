#pragma once
// The system's certificate selection dialog, CertSelectCertificateW of
// cryptdlg.dll, declared from its public documentation: mingw-w64 has no
// cryptdlg.h. Callers load the DLL at run time.
#include <windows.h>
#include <wincrypt.h>

using PFNCMFILTERPROC = BOOL(WINAPI*)(PCCERT_CONTEXT cert, LPARAM customData, DWORD flags, DWORD displayWell);
using PFNCMHOOKPROC = UINT(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

struct CERT_SELECT_STRUCT_W {
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
    PFNCMHOOKPROC pfnHook;
    PFNCMFILTERPROC pfnFilter;
    LPCWSTR szHelpFileName;
    DWORD dwHelpId;
    HCRYPTPROV hprov;
};
using PCERT_SELECT_STRUCT_W = CERT_SELECT_STRUCT_W*;

static_assert(sizeof(void*) != 4 || sizeof(CERT_SELECT_STRUCT_W) == 68, "the 32-bit layout is 68 bytes");
static_assert(sizeof(void*) != 8 || sizeof(CERT_SELECT_STRUCT_W) == 136, "the 64-bit layout is 136 bytes");

using CertSelectCertificateWFn = BOOL(WINAPI*)(PCERT_SELECT_STRUCT_W select);
