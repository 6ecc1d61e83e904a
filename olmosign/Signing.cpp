#include "Signing.h"

#include <cstring>

#include "Handles.h"
#include "PersonalStore.h"
#include "WinError.h"

namespace {

// A provider handle from CryptAcquireCertificatePrivateKey, released only
// when the call says the caller owns it.
class CertPrivateKey {
public:
    explicit CertPrivateKey(PCCERT_CONTEXT cert)
    {
        BOOL callerFrees = FALSE;
        CheckWin32(CryptAcquireCertificatePrivateKey(cert, 0, nullptr, &prov_, &keySpec_, &callerFrees) != FALSE,
                   "CryptAcquireCertificatePrivateKey");
        if (callerFrees) owned_.reset(prov_);
    }
    HCRYPTPROV prov() const noexcept { return prov_; }
    DWORD keySpec() const noexcept { return keySpec_; }

private:
    HCRYPTPROV prov_ = 0;
    DWORD keySpec_ = 0;
    UniqueCryptProv owned_;
};

const BYTE kNothing = 0;

const char* DigestFor(HCRYPTPROV prov)
{
    UniqueCryptHash probe;
    if (CryptCreateHash(prov, CALG_SHA_256, 0, 0, probe.put())) return szOID_NIST_sha256;
    // Older providers (the base RSA provider, many token CSPs) hash SHA-1 only.
    return szOID_OIWSEC_sha1;
}

} // namespace

std::vector<unsigned char> SignAttached(PCCERT_CONTEXT cert, const unsigned char* data, DWORD dataLength)
{
    const CertPrivateKey key(cert);

    CMSG_SIGNER_ENCODE_INFO signer{};
    signer.cbSize = sizeof signer;
    signer.pCertInfo = cert->pCertInfo;
    signer.hCryptProv = key.prov();
    signer.dwKeySpec = key.keySpec();
    signer.HashAlgorithm.pszObjId = const_cast<char*>(DigestFor(key.prov()));

    CERT_BLOB certBlob{cert->cbCertEncoded, cert->pbCertEncoded};
    CMSG_SIGNED_ENCODE_INFO info{};
    info.cbSize = sizeof info;
    info.cSigners = 1;
    info.rgSigners = &signer;
    info.cCertEncoded = 1;
    info.rgCertEncoded = &certBlob;

    UniqueCryptMsg msg(CryptMsgOpenToEncode(kEncoding, 0, CMSG_SIGNED, &info, nullptr, nullptr));
    CheckWin32(static_cast<bool>(msg), "CryptMsgOpenToEncode");
    CheckWin32(CryptMsgUpdate(msg.get(), dataLength ? data : &kNothing, dataLength, TRUE) != FALSE, "CryptMsgUpdate");

    DWORD size = 0;
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_CONTENT_PARAM, 0, nullptr, &size) != FALSE, "CryptMsgGetParam");
    std::vector<unsigned char> encoded(size);
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_CONTENT_PARAM, 0, encoded.data(), &size) != FALSE,
               "CryptMsgGetParam");
    encoded.resize(size);
    return encoded;
}

bool VerifyAttached(const unsigned char* data, DWORD dataLength, const unsigned char* message, DWORD messageLength)
{
    if (messageLength == 0) return false;
    CRYPT_VERIFY_MESSAGE_PARA para{};
    para.cbSize = sizeof para;
    para.dwMsgAndCertEncodingType = kEncoding;

    DWORD contentSize = 0;
    if (!CryptVerifyMessageSignature(&para, 0, message, messageLength, nullptr, &contentSize, nullptr)) {
        // Signing empty data leaves the message without content, which the
        // attached form cannot decode; its signature still covers the empty
        // content.
        if (dataLength != 0) return false;
        const BYTE* parts[] = {&kNothing};
        DWORD partSizes[] = {0};
        return CryptVerifyDetachedMessageSignature(&para, 0, message, messageLength, 1, parts, partSizes, nullptr) !=
               FALSE;
    }
    std::vector<unsigned char> content(contentSize);
    if (!CryptVerifyMessageSignature(&para, 0, message, messageLength, content.data(), &contentSize, nullptr))
        return false;
    content.resize(contentSize);
    return contentSize == dataLength && (dataLength == 0 || std::memcmp(content.data(), data, dataLength) == 0);
}
