#include "SignBySerial.h"

#include <windows.h>
#include <wincrypt.h>

#include <cstddef>

#include "Handles.h"
#include "PersonalStore.h"

namespace {

// The message parameters without the optional CMS fields: 68 bytes in the
// 32-bit build, as the platform has always been given them.
constexpr DWORD kSignParaSize = offsetof(CRYPT_SIGN_MESSAGE_PARA, dwInnerContentType) + sizeof(DWORD);

} // namespace

std::string SignBySerial(const wchar_t* serial, const std::string& data)
{
    if (!serial || !*serial) return std::string();
    const std::wstring upperSerial = UpperCaseAscii(serial);
    UniqueCryptProv prov = AcquireDefaultContext(CRYPT_NEWKEYSET);
    UniqueCertStore store = OpenPersonalStore(prov.get());
    if (!store) return std::string();
    UniqueCertContext signer = FindCertBySerial(store.get(), upperSerial);
    if (!signer) return std::string();

    PCCERT_CONTEXT included[1] = {signer.get()};
    CRYPT_SIGN_MESSAGE_PARA para{};
    para.cbSize = kSignParaSize;
    para.dwMsgEncodingType = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
    para.pSigningCert = signer.get();
    para.HashAlgorithm.pszObjId = const_cast<char*>(szOID_OIWSEC_sha1);
    para.cMsgCert = 1;
    para.rgpMsgCert = included;

    const BYTE* items[1] = {reinterpret_cast<const BYTE*>(data.data())};
    DWORD itemSizes[1] = {static_cast<DWORD>(data.size())};
    DWORD size = 0;
    if (!CryptSignMessage(&para, FALSE, 1, items, itemSizes, nullptr, &size)) return std::string();
    std::string message(size, '\0');
    if (!CryptSignMessage(&para, FALSE, 1, items, itemSizes, reinterpret_cast<BYTE*>(message.data()), &size))
        return std::string();
    message.resize(size);
    return message;
}
