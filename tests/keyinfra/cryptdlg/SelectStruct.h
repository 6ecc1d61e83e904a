#pragma once
// The selection structure of CertSelectCertificateW, declared from
// Microsoft's public cryptdlg reference (mingw-w64 has no cryptdlg.h).
#include <windows.h>
#include <wincrypt.h>

using PFNCMHOOKPROC = UINT(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
using PFNCMFILTERPROC = BOOL(WINAPI*)(PCCERT_CONTEXT cert, LPARAM customData, DWORD flags, DWORD displayWell);

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

extern "C" BOOL WINAPI CertSelectCertificateW(PCERT_SELECT_STRUCT_W pCertSelectInfo);
