#include "CertDialogFilter.h"

#include <string>

#include "PersonalStore.h"
#include "SigningUsage.h"

namespace {

// True when the name renders as an X.500 string that contains upperFilter.
bool NameContains(CERT_NAME_BLOB* name, const std::wstring& upperFilter)
{
    const DWORD size = CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, nullptr, 0);
    if (size == 0) return false;
    std::wstring text(size, L'\0');
    if (CertNameToStrW(X509_ASN_ENCODING, name, CERT_X500_NAME_STR, text.data(), size) == 0) return false;
    text.resize(text.find(L'\0'));
    return UpperCaseAscii(text.c_str()).find(upperFilter) != std::wstring::npos;
}

} // namespace

BOOL WINAPI CertDialogFilter(PCCERT_CONTEXT cert, LPARAM customData, DWORD, DWORD)
{
    try {
        if (!cert || !HasDigitalSignatureUsage(cert)) return FALSE;
        const auto* filter = reinterpret_cast<const wchar_t*>(customData);
        if (!filter || !*filter) return TRUE;
        const std::wstring upperFilter = UpperCaseAscii(filter);
        return NameContains(&cert->pCertInfo->Issuer, upperFilter) || NameContains(&cert->pCertInfo->Subject, upperFilter);
    } catch (...) {
        // Called by the dialog: nothing may escape into it.
        return FALSE;
    }
}
