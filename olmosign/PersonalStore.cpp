#include "PersonalStore.h"

#include <cwctype>

#include "WideText.h"
#include "WinError.h"

UniqueCertStore OpenPersonalStore()
{
    UniqueCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0,
                                        CERT_SYSTEM_STORE_CURRENT_USER | CERT_STORE_OPEN_EXISTING_FLAG, L"MY"));
    CheckWin32(static_cast<bool>(store), "CertOpenStore(MY)");
    return store;
}

std::wstring SerialText(PCCERT_CONTEXT cert)
{
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    const CRYPT_INTEGER_BLOB& serial = cert->pCertInfo->SerialNumber;
    std::wstring text;
    // Stored least significant byte first.
    for (DWORD i = serial.cbData; i-- > 0;) {
        text += kHex[serial.pbData[i] >> 4];
        text += kHex[serial.pbData[i] & 0x0F];
    }
    return text;
}

UniqueCertContext FindBySerial(HCERTSTORE store, const wchar_t* serial)
{
    const std::optional<std::string> wanted = UnwidenBytes(serial);
    if (!wanted || wanted->empty()) return UniqueCertContext();
    std::wstring upper;
    for (char c : *wanted) upper += static_cast<wchar_t>(std::towupper(static_cast<unsigned char>(c)));

    CertEnumerator certs(store);
    while (PCCERT_CONTEXT cert = certs.Next()) {
        if (SerialText(cert) == upper) return UniqueCertContext(CertDuplicateCertificateContext(cert));
    }
    return UniqueCertContext();
}
