#include "FindCertDerBySerial.h"

#include "Handles.h"
#include "PersonalStore.h"

std::string FindCertDerBySerial(const wchar_t* serial)
{
    if (!serial || !*serial) return std::string();
    const std::wstring upperSerial = UpperCaseAscii(serial);
    // Creates the user's default container where there is none yet; where one
    // exists this fails and the store is opened without a context.
    UniqueCryptProv prov = AcquireDefaultContext(CRYPT_NEWKEYSET);
    UniqueCertStore store = OpenPersonalStore(prov.get());
    if (!store) return std::string();
    UniqueCertContext cert = FindCertBySerial(store.get(), upperSerial);
    if (!cert) return std::string();
    return std::string(reinterpret_cast<const char*>(cert.get()->pbCertEncoded), cert.get()->cbCertEncoded);
}
