#include "PersonalStore.h"

#include "CertSerialToHex.h"

std::wstring UpperCaseAscii(const wchar_t* text)
{
    std::wstring upper = text ? text : L"";
    for (wchar_t& c : upper)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return upper;
}

UniqueCertStore OpenPersonalStore(HCRYPTPROV prov)
{
    return UniqueCertStore(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, prov, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
}

UniqueCertContext FindCertBySerial(HCERTSTORE store, const std::wstring& upperSerial)
{
    CertEnumerator certs(store);
    while (PCCERT_CONTEXT cert = certs.Next()) {
        if (CertSerialToHex(cert) == upperSerial) return UniqueCertContext(CertDuplicateCertificateContext(cert));
    }
    return UniqueCertContext();
}

UniqueCryptProv AcquireDefaultContext(DWORD flags)
{
    UniqueCryptProv prov;
    if (!CryptAcquireContextW(prov.put(), nullptr, nullptr, PROV_RSA_FULL, flags)) prov.release();
    return prov;
}
