#include "CertInfo.h"

#include <windows.h>
#include <wincrypt.h>

#include <array>
#include <cstdio>

#include "Base64.h"
#include "Handles.h"

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr char kEmailOid[] = "1.2.840.113549.1.9.1";

struct NameField {
    std::int32_t code;
    DWORD nameType;
    bool issuer;
    const char* oid;
};

constexpr NameField kNameFields[] = {
    {4, CERT_NAME_ATTR_TYPE, true, "2.5.4.6"},    {5, CERT_NAME_ATTR_TYPE, true, "2.5.4.10"},
    {6, CERT_NAME_ATTR_TYPE, true, "2.5.4.11"},   {7, CERT_NAME_ATTR_TYPE, true, "2.5.4.8"},
    {8, CERT_NAME_ATTR_TYPE, true, "2.5.4.3"},    {9, CERT_NAME_ATTR_TYPE, true, "2.5.4.7"},
    {16, CERT_NAME_EMAIL_TYPE, true, kEmailOid},  {19, CERT_NAME_ATTR_TYPE, false, "2.5.4.6"},
    {20, CERT_NAME_ATTR_TYPE, false, "2.5.4.10"}, {21, CERT_NAME_ATTR_TYPE, false, "2.5.4.11"},
    {22, CERT_NAME_ATTR_TYPE, false, "2.5.4.8"},  {23, CERT_NAME_ATTR_TYPE, false, "2.5.4.3"},
    {24, CERT_NAME_ATTR_TYPE, false, "2.5.4.7"},  {25, CERT_NAME_EMAIL_TYPE, false, kEmailOid},
    {32, CERT_NAME_ATTR_TYPE, true, "2.5.4.42"},  {33, CERT_NAME_ATTR_TYPE, false, "2.5.4.42"},
};

std::string NameText(PCCERT_CONTEXT cert, const NameField& field)
{
    std::array<char, 1024> buffer{};
    const DWORD written = CertGetNameStringA(cert, field.nameType, field.issuer ? CERT_NAME_ISSUER_FLAG : 0,
                                             const_cast<char*>(field.oid), buffer.data(),
                                             static_cast<DWORD>(buffer.size()));
    if (written < 2) return {};
    return std::string(buffer.data());
}

std::string LocalTimeText(const FILETIME& utc)
{
    FILETIME local{};
    SYSTEMTIME parts{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return {};
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%d-%d-%d %d:%d:%d", parts.wYear, parts.wMonth, parts.wDay, parts.wHour,
                  parts.wMinute, parts.wSecond);
    return text.data();
}

// Serial bytes are stored least significant first; the text shows the most
// significant first, every byte kept. Long serials come back whole.
std::string SerialText(const CRYPT_INTEGER_BLOB& serial)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * serial.cbData);
    for (DWORD i = serial.cbData; i-- > 0;) {
        text += kHex[serial.pbData[i] >> 4];
        text += kHex[serial.pbData[i] & 0x0F];
    }
    return text;
}

std::string AlgorithmText(const char* oid)
{
    if (!oid) return {};
    if (_stricmp(oid, szOID_RSA_RSA) == 0) return "RSA";
    if (std::string(oid) == "1.2.840.10045.2.1") return "ECC";
    return oid;
}

} // namespace

std::string QueryCertInfo(const std::string& certBase64, std::int32_t infoType)
{
    const std::string der = Base64Decode(certBase64);
    UniqueCertContext cert(CertCreateCertificateContext(
        kEncoding, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size())));
    if (!cert) return {};
    const CERT_INFO& info = *cert.get()->pCertInfo;

    switch (infoType) {
    case 1:
        return std::to_string(static_cast<int>(info.dwVersion));
    case 2:
        return SerialText(info.SerialNumber);
    case 3:
        return AlgorithmText(info.SubjectPublicKeyInfo.Algorithm.pszObjId);
    case 17:
        return LocalTimeText(info.NotBefore);
    case 18:
        return LocalTimeText(info.NotAfter);
    case 34: {
        const CRYPT_BIT_BLOB& key = info.SubjectPublicKeyInfo.PublicKey;
        return Base64Encode(key.pbData, key.cbData);
    }
    default:
        for (const NameField& field : kNameFields)
            if (field.code == infoType) return NameText(cert.get(), field);
        return {};
    }
}
