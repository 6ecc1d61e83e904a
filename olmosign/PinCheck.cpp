#include "PinCheck.h"

#include <vector>

#include "Handles.h"
#include "WinError.h"

bool CheckKeyPin(PCCERT_CONTEXT cert, const std::string& pin)
{
    DWORD size = 0;
    if (!CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size)) return false;
    std::vector<unsigned char> buffer(size);
    CheckWin32(CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, buffer.data(), &size) != FALSE,
               "CertGetCertificateContextProperty(CERT_KEY_PROV_INFO_PROP_ID)");
    const auto* provInfo = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(buffer.data());

    UniqueCryptProv prov;
    if (!CryptAcquireContextW(prov.put(), provInfo->pwszContainerName, provInfo->pwszProvName, provInfo->dwProvType,
                              (provInfo->dwFlags & CRYPT_MACHINE_KEYSET) | CRYPT_SILENT))
        return false;
    const DWORD param = provInfo->dwKeySpec == AT_KEYEXCHANGE ? PP_KEYEXCHANGE_PIN : PP_SIGNATURE_PIN;
    const std::string text = pin; // zero-terminated by c_str()
    return CryptSetProvParam(prov.get(), param, reinterpret_cast<const BYTE*>(text.c_str()), 0) != FALSE;
}
