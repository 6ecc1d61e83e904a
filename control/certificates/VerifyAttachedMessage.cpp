#include "VerifyAttachedMessage.h"

#include <windows.h>
#include <wincrypt.h>

#include "Handles.h"

long VerifyAttachedMessage(const std::string& data, const std::string& message)
{
    std::string copy = message;
    CRYPT_VERIFY_MESSAGE_PARA para{};
    para.cbSize = sizeof(para);
    para.dwMsgAndCertEncodingType = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
    auto* bytes = reinterpret_cast<BYTE*>(copy.data());
    const DWORD length = static_cast<DWORD>(copy.size());

    DWORD contentSize = 0;
    if (!CryptVerifyMessageSignature(&para, 0, bytes, length, nullptr, &contentSize, nullptr)) return 0;
    std::string content(contentSize, '\0');
    UniqueCertContext signer;
    if (!CryptVerifyMessageSignature(&para, 0, bytes, length, reinterpret_cast<BYTE*>(content.data()), &contentSize,
                                     signer.put()))
        return 0;
    content.resize(contentSize);
    if (content.empty()) return 0;
    // The whole byte strings: a zero byte inside the data must not end the comparison.
    return content == data ? 1 : 0;
}
