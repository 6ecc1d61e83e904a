#include "SelectCertificate.h"

#include <wincrypt.h>

#include "CertSelectDialog.h"
#include "Handles.h"
#include "PersonalStore.h"
#include "WinError.h"

namespace {

std::wstring Upper(std::wstring text)
{
    if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::wstring IssuerName(PCCERT_CONTEXT cert)
{
    CERT_NAME_BLOB* issuer = &cert->pCertInfo->Issuer;
    const DWORD units = CertNameToStrW(kEncoding, issuer, CERT_X500_NAME_STR, nullptr, 0);
    if (units <= 1) return std::wstring();
    std::wstring name(units, L'\0');
    CertNameToStrW(kEncoding, issuer, CERT_X500_NAME_STR, &name[0], units);
    name.resize(units - 1);
    return name;
}

// Shows a certificate when its issuer name holds the filter text.
BOOL WINAPI IssuerFilter(PCCERT_CONTEXT cert, LPARAM custData, DWORD, DWORD)
{
    const auto& filterUpper = *reinterpret_cast<const std::wstring*>(custData);
    if (filterUpper.empty()) return TRUE;
    return Upper(IssuerName(cert)).find(filterUpper) != std::wstring::npos;
}

} // namespace

std::wstring SelectCertificateSerial(HWND owner, const std::wstring& issuerFilter)
{
    // Loaded by name at run time, as the system provides it.
    UniqueModule cryptdlg(LoadLibraryW(L"cryptdlg.dll"));
    CheckWin32(static_cast<bool>(cryptdlg), "LoadLibrary(cryptdlg.dll)");
    const auto select = reinterpret_cast<CertSelectCertificateWFn>(
        reinterpret_cast<void*>(GetProcAddress(cryptdlg.get(), "CertSelectCertificateW")));
    CheckWin32(select != nullptr, "GetProcAddress(CertSelectCertificateW)");

    UniqueCertStore store = OpenPersonalStore();
    HCERTSTORE stores[] = {store.get()};
    const std::wstring filterUpper = Upper(issuerFilter);
    PCCERT_CONTEXT chosen[1] = {nullptr};

    CERT_SELECT_STRUCT_W request{};
    request.dwSize = sizeof request;
    request.hwndParent = owner;
    request.cCertStore = 1;
    request.arrayCertStore = stores;
    request.cCertContext = 1;
    request.arrayCertContext = chosen;
    request.lCustData = reinterpret_cast<LPARAM>(&filterUpper);
    request.pfnFilter = IssuerFilter;
    if (!select(&request) || chosen[0] == nullptr) return std::wstring();

    UniqueCertContext cert(chosen[0]);
    return SerialText(cert.get());
}
