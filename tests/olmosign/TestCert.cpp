#include "TestCert.h"

#include <stdexcept>

#include "Handles.h"
#include "WinError.h"

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;

std::vector<BYTE> EncodeName(const std::wstring& x500)
{
    DWORD size = 0;
    CheckWin32(CertStrToNameW(kEncoding, x500.c_str(), CERT_X500_NAME_STR, nullptr, nullptr, &size, nullptr),
               "CertStrToNameW");
    std::vector<BYTE> name(size);
    CheckWin32(CertStrToNameW(kEncoding, x500.c_str(), CERT_X500_NAME_STR, nullptr, name.data(), &size, nullptr),
               "CertStrToNameW");
    name.resize(size);
    return name;
}

UniqueCertStore OpenMy()
{
    UniqueCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
    CheckWin32(static_cast<bool>(store), "CertOpenStore(MY)");
    return store;
}

} // namespace

TestCert::TestCert(const wchar_t* provider, DWORD provType, const std::wstring& subject)
    : provider_(provider), provType_(provType)
{
    static int counter = 0;
    container_ = L"olmosign-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
    {
        // rsaenh stores the key when this context is released.
        UniqueCryptProv maker;
        CheckWin32(CryptAcquireContextW(maker.put(), container_.c_str(), provider_.c_str(), provType_, CRYPT_NEWKEYSET),
                   "CryptAcquireContextW(CRYPT_NEWKEYSET)");
        UniqueCryptKey key;
        CheckWin32(CryptGenKey(maker.get(), AT_SIGNATURE, (1024u << 16) | CRYPT_EXPORTABLE, key.put()), "CryptGenKey");
    }
    UniqueCryptProv prov;
    CheckWin32(CryptAcquireContextW(prov.put(), container_.c_str(), provider_.c_str(), provType_, 0),
               "CryptAcquireContextW");

    std::vector<BYTE> name = EncodeName(subject);
    CERT_NAME_BLOB nameBlob{static_cast<DWORD>(name.size()), name.data()};
    CRYPT_KEY_PROV_INFO provInfo{};
    provInfo.pwszContainerName = &container_[0];
    provInfo.pwszProvName = &provider_[0];
    provInfo.dwProvType = provType_;
    provInfo.dwKeySpec = AT_SIGNATURE;
    UniqueCertContext made(CertCreateSelfSignCertificate(prov.get(), &nameBlob, 0, &provInfo, nullptr, nullptr,
                                                         nullptr, nullptr));
    CheckWin32(static_cast<bool>(made), "CertCreateSelfSignCertificate");

    UniqueCertStore store = OpenMy();
    CheckWin32(CertAddCertificateContextToStore(store.get(), made.get(), CERT_STORE_ADD_REPLACE_EXISTING, nullptr),
               "CertAddCertificateContextToStore");
    // Key-provider property, in case the self-signing call did not set it.
    UniqueCertContext stored(CertFindCertificateInStore(store.get(), kEncoding, 0, CERT_FIND_EXISTING, made.get(),
                                                        nullptr));
    CheckWin32(static_cast<bool>(stored), "CertFindCertificateInStore");
    CheckWin32(CertSetCertificateContextProperty(stored.get(), CERT_KEY_PROV_INFO_PROP_ID, 0, &provInfo),
               "CertSetCertificateContextProperty");

    der_.assign(made.get()->pbCertEncoded, made.get()->pbCertEncoded + made.get()->cbCertEncoded);
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    const CRYPT_INTEGER_BLOB& serial = made.get()->pCertInfo->SerialNumber;
    for (DWORD i = serial.cbData; i-- > 0;) {
        serial_ += kHex[serial.pbData[i] >> 4];
        serial_ += kHex[serial.pbData[i] & 0x0F];
    }
}

TestCert::~TestCert()
{
    try {
        UniqueCertStore store = OpenMy();
        UniqueCertContext parsed(CertCreateCertificateContext(kEncoding, der_.data(), static_cast<DWORD>(der_.size())));
        if (parsed) {
            PCCERT_CONTEXT found = CertFindCertificateInStore(store.get(), kEncoding, 0, CERT_FIND_EXISTING,
                                                              parsed.get(), nullptr);
            if (found) CertDeleteCertificateFromStore(found); // frees found
        }
    } catch (...) {
    }
    HCRYPTPROV gone = 0;
    CryptAcquireContextW(&gone, container_.c_str(), provider_.c_str(), provType_, CRYPT_DELETEKEYSET);
}
