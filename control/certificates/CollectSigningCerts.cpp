#include "CollectSigningCerts.h"

#include <windows.h>
#include <wincrypt.h>

#include "CertSerialToHex.h"
#include "Handles.h"
#include "PersonalStore.h"
#include "SigningUsage.h"

namespace {

// The common name of the subject, or of the issuer with CERT_NAME_ISSUER_FLAG;
// empty when the name has none.
std::wstring CommonName(PCCERT_CONTEXT cert, DWORD flags)
{
    void* oid = const_cast<char*>(szOID_COMMON_NAME);
    const DWORD size = CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, flags, oid, nullptr, 0);
    std::wstring name(size, L'\0');
    CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, flags, oid, name.data(), size);
    name.resize(name.find(L'\0'));
    return name;
}

bool Matches(const std::wstring& name, const wchar_t* filter, const std::wstring& upperFilter)
{
    if (!filter || upperFilter == L"*") return true;
    return UpperCaseAscii(name.c_str()).find(upperFilter) != std::wstring::npos;
}

} // namespace

std::vector<CertCandidate> CollectSigningCerts(const wchar_t* filter)
{
    std::vector<CertCandidate> candidates;
    const std::wstring upperFilter = UpperCaseAscii(filter);

    UniqueCryptProv prov = AcquireDefaultContext(CRYPT_VERIFYCONTEXT);
    if (!prov) return candidates;
    UniqueCertStore store = OpenPersonalStore(prov.get());
    if (!store) return candidates;

    CertEnumerator certs(store.get());
    while (PCCERT_CONTEXT cert = certs.Next()) {
        if (!HasDigitalSignatureUsage(cert)) continue;
        std::wstring name = CommonName(cert, 0);
        if (!Matches(name, filter, upperFilter)) {
            name = CommonName(cert, CERT_NAME_ISSUER_FLAG);
            if (!Matches(name, filter, upperFilter)) continue;
        }
        candidates.push_back({CertSerialToHex(cert), std::move(name)});
    }
    return candidates;
}
