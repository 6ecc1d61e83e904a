#include "CheckCertPin.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include "Handles.h"
#include "PersonalStore.h"

long CheckCertPin(const wchar_t* serial, const char* pin)
{
    if (!serial || !*serial) return 0;
    const std::wstring upperSerial = UpperCaseAscii(serial);
    UniqueCryptProv verifyContext = AcquireDefaultContext(CRYPT_VERIFYCONTEXT);
    UniqueCertStore store = OpenPersonalStore(verifyContext.get());
    if (!store) return 0;
    UniqueCertContext cert = FindCertBySerial(store.get(), upperSerial);
    if (!cert) return 0;

    DWORD size = 0;
    if (!CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size)) return 0;
    std::vector<BYTE> record(size);
    if (!CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, record.data(), &size)) return 0;
    const auto* info = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(record.data());

    // CRYPT_SILENT: a provider that would have to ask the user refuses instead.
    UniqueCryptProv keyContext;
    if (!CryptAcquireContextW(keyContext.put(), info->pwszContainerName, info->pwszProvName, info->dwProvType,
                              CRYPT_SILENT)) {
        keyContext.release();
        return 0;
    }
    return CryptSetProvParam(keyContext.get(), PP_SIGNATURE_PIN, reinterpret_cast<const BYTE*>(pin), info->dwFlags) ? 1
                                                                                                                    : 0;
}
