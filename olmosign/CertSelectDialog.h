#pragma once
// The system's certificate selection dialog, CertSelectCertificateW of
// cryptdlg.dll (declared here as documented; mingw-w64 has no cryptdlg.h).
#include <windows.h>
#include <wincrypt.h>

using PFNCMFILTERPROC = BOOL(WINAPI*)(PCCERT_CONTEXT cert, LPARAM custData, DWORD flags, DWORD displayWell);
using PFNCMHOOKPROC = BOOL(WINAPI*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

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

using CertSelectCertificateWFn = BOOL(WINAPI*)(CERT_SELECT_STRUCT_W* select);
