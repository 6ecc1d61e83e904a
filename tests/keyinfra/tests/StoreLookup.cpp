#include "StoreLookup.h"

#include "TextCodec.h"
#include "WinError.h"

namespace {
constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
}

UniqueCertContext FindBySerial(const std::string& serial, const wchar_t* store)
{
    UniqueCertStore opened(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, store));
    CheckWin32(static_cast<bool>(opened), "CertOpenStore");
    CertEnumerator certs(opened.get());
    while (PCCERT_CONTEXT cert = certs.Next()) {
        if (SerialText(cert->pCertInfo->SerialNumber) == serial) return UniqueCertContext(CertDuplicateCertificateContext(cert));
    }
    return UniqueCertContext();
}

std::vector<std::string> SerialsInStore(const wchar_t* store)
{
    UniqueCertStore opened(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, store));
    CheckWin32(static_cast<bool>(opened), "CertOpenStore");
    std::vector<std::string> serials;
    CertEnumerator certs(opened.get());
    while (PCCERT_CONTEXT cert = certs.Next()) serials.push_back(SerialText(cert->pCertInfo->SerialNumber));
    return serials;
}

std::vector<BYTE> SignAttached(PCCERT_CONTEXT signer, const std::string& data)
{
    CRYPT_SIGN_MESSAGE_PARA para{};
    para.cbSize = sizeof(para);
    para.dwMsgEncodingType = kEncoding;
    para.pSigningCert = signer;
    para.HashAlgorithm.pszObjId = const_cast<char*>(szOID_OIWSEC_sha1);
    para.cMsgCert = 1;
    para.rgpMsgCert = &signer;
    const BYTE* items[] = {reinterpret_cast<const BYTE*>(data.data())};
    DWORD sizes[] = {static_cast<DWORD>(data.size())};
    DWORD size = 0;
    CheckWin32(CryptSignMessage(&para, FALSE, 1, items, sizes, nullptr, &size), "CryptSignMessage");
    std::vector<BYTE> message(size);
    CheckWin32(CryptSignMessage(&para, FALSE, 1, items, sizes, message.data(), &size), "CryptSignMessage");
    message.resize(size);
    return message;
}

std::string VerifiedContent(const std::vector<BYTE>& message)
{
    CRYPT_VERIFY_MESSAGE_PARA para{};
    para.cbSize = sizeof(para);
    para.dwMsgAndCertEncodingType = kEncoding;
    DWORD size = 0;
    CheckWin32(CryptVerifyMessageSignature(&para, 0, message.data(), static_cast<DWORD>(message.size()), nullptr, &size, nullptr),
               "CryptVerifyMessageSignature");
    std::string content(size, '\0');
    CheckWin32(CryptVerifyMessageSignature(&para, 0, message.data(), static_cast<DWORD>(message.size()),
                                           reinterpret_cast<BYTE*>(content.data()), &size, nullptr),
               "CryptVerifyMessageSignature");
    content.resize(size);
    return content;
}
