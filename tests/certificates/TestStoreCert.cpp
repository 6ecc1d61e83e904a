#include "TestStoreCert.h"

#include <stdexcept>

#include "CertSerialToHex.h"
#include "Handles.h"

namespace {

void Check(bool ok, const char* call)
{
    if (!ok) throw std::runtime_error(std::string(call) + " failed with " + std::to_string(GetLastError()));
}

// Parses "CN=a, O=b" (values may hold anything but ", ") into UTF-8 attributes,
// so that names can carry characters that X.500 string parsing rejects.
std::vector<BYTE> EncodeName(const std::wstring& x500)
{
    std::vector<std::wstring> parts;
    for (size_t start = 0;;) {
        const size_t end = x500.find(L", ", start);
        parts.push_back(x500.substr(start, end - start));
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    std::vector<CERT_RDN_ATTR> attrs(parts.size());
    std::vector<CERT_RDN> rdns(parts.size());
    std::vector<std::wstring> values(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        const size_t eq = parts[i].find(L'=');
        const std::wstring label = parts[i].substr(0, eq);
        values[i] = parts[i].substr(eq + 1);
        const char* oid = label == L"CN" ? szOID_COMMON_NAME : label == L"O" ? szOID_ORGANIZATION_NAME
                                                              : label == L"OU" ? szOID_ORGANIZATIONAL_UNIT_NAME
                                                                               : nullptr;
        if (!oid) throw std::runtime_error("unknown name attribute in test certificate");
        attrs[i].pszObjId = const_cast<char*>(oid);
        attrs[i].dwValueType = CERT_RDN_UTF8_STRING;
        attrs[i].Value = {static_cast<DWORD>(values[i].size() * sizeof(wchar_t)),
                          reinterpret_cast<BYTE*>(values[i].data())};
        rdns[i] = {1, &attrs[i]};
    }
    CERT_NAME_INFO name{static_cast<DWORD>(rdns.size()), rdns.data()};
    DWORD size = 0;
    Check(CryptEncodeObject(X509_ASN_ENCODING, X509_UNICODE_NAME, &name, nullptr, &size), "CryptEncodeObject");
    std::vector<BYTE> out(size);
    Check(CryptEncodeObject(X509_ASN_ENCODING, X509_UNICODE_NAME, &name, out.data(), &size), "CryptEncodeObject");
    out.resize(size);
    return out;
}

std::vector<BYTE> Encode(LPCSTR type, const void* value)
{
    DWORD size = 0;
    Check(CryptEncodeObject(X509_ASN_ENCODING, type, value, nullptr, &size), "CryptEncodeObject");
    std::vector<BYTE> out(size);
    Check(CryptEncodeObject(X509_ASN_ENCODING, type, value, out.data(), &size), "CryptEncodeObject");
    out.resize(size);
    return out;
}

FILETIME DaysFromNow(int days)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart += static_cast<LONGLONG>(days) * 24 * 3600 * 10000000LL;
    return FILETIME{t.LowPart, t.HighPart};
}

// Wine keeps deletions made through the system store in memory only; the
// store's registry part persists them.
UniqueCertStore OpenMy(LPCSTR provider = CERT_STORE_PROV_SYSTEM_W)
{
    UniqueCertStore store(CertOpenStore(provider, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
    Check(static_cast<bool>(store), "CertOpenStore");
    return store;
}

} // namespace

void RemoveBySerial(const std::wstring& serial)
{
    UniqueCertStore store = OpenMy(CERT_STORE_PROV_SYSTEM_REGISTRY_W);
    for (;;) {
        PCCERT_CONTEXT found = nullptr;
        CertEnumerator certs(store.get());
        while (PCCERT_CONTEXT cert = certs.Next()) {
            if (CertSerialToHex(cert) == serial) {
                found = CertDuplicateCertificateContext(cert);
                break;
            }
        }
        if (!found) return;
        CertDeleteCertificateFromStore(found);
    }
}

std::string Bytes(const char* text, size_t length) { return std::string(text, length); }

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

void DeleteContainer(const std::wstring& container, const wchar_t* provider, DWORD provType)
{
    HCRYPTPROV ignored = 0;
    CryptAcquireContextW(&ignored, container.c_str(), provider, provType, CRYPT_DELETEKEYSET);
}

std::string MakeCertificate(const TestCertSpec& spec, const std::wstring& container)
{
    DeleteContainer(container);
    UniqueCryptProv prov;
    Check(CryptAcquireContextW(prov.put(), container.c_str(), nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET),
          "CryptAcquireContextW");
    UniqueCryptKey key;
    Check(CryptGenKey(prov.get(), AT_SIGNATURE, (1024u << 16) | CRYPT_EXPORTABLE, key.put()), "CryptGenKey");

    DWORD keyInfoSize = 0;
    Check(CryptExportPublicKeyInfo(prov.get(), AT_SIGNATURE, X509_ASN_ENCODING, nullptr, &keyInfoSize),
          "CryptExportPublicKeyInfo");
    std::vector<BYTE> keyInfo(keyInfoSize);
    auto* publicKey = reinterpret_cast<CERT_PUBLIC_KEY_INFO*>(keyInfo.data());
    Check(CryptExportPublicKeyInfo(prov.get(), AT_SIGNATURE, X509_ASN_ENCODING, publicKey, &keyInfoSize),
          "CryptExportPublicKeyInfo");

    std::vector<BYTE> serial(spec.serial.rbegin(), spec.serial.rend());
    std::vector<BYTE> subject = EncodeName(spec.subject);
    std::vector<BYTE> issuer = EncodeName(spec.issuer.empty() ? spec.subject : spec.issuer);

    std::vector<CERT_EXTENSION> extensions;
    BYTE usage = spec.keyUsage.value_or(0);
    CRYPT_BIT_BLOB usageBits{1, &usage, 0};
    std::vector<BYTE> usageDer;
    if (spec.keyUsage) {
        usageDer = Encode(X509_KEY_USAGE, &usageBits);
        extensions.push_back({const_cast<char*>(szOID_KEY_USAGE), TRUE, {static_cast<DWORD>(usageDer.size()), usageDer.data()}});
    }
    std::vector<BYTE> padding(spec.paddingBytes, 0x5A);
    CRYPT_DATA_BLOB paddingBlob{static_cast<DWORD>(padding.size()), padding.data()};
    std::vector<BYTE> paddingDer;
    if (spec.paddingBytes) {
        paddingDer = Encode(X509_OCTET_STRING, &paddingBlob);
        // A private-arc extension that nothing interprets.
        extensions.push_back({const_cast<char*>("1.3.6.1.4.1.55555.1"), FALSE,
                              {static_cast<DWORD>(paddingDer.size()), paddingDer.data()}});
    }

    CRYPT_ALGORITHM_IDENTIFIER algorithm{const_cast<char*>(szOID_RSA_SHA1RSA), {0, nullptr}};
    CERT_INFO info{};
    info.dwVersion = CERT_V3;
    info.SerialNumber = {static_cast<DWORD>(serial.size()), serial.data()};
    info.SignatureAlgorithm = algorithm;
    info.Issuer = {static_cast<DWORD>(issuer.size()), issuer.data()};
    info.NotBefore = DaysFromNow(-1);
    info.NotAfter = DaysFromNow(365);
    info.Subject = {static_cast<DWORD>(subject.size()), subject.data()};
    info.SubjectPublicKeyInfo = *publicKey;
    info.cExtension = static_cast<DWORD>(extensions.size());
    info.rgExtension = extensions.data();

    DWORD size = 0;
    Check(CryptSignAndEncodeCertificate(prov.get(), AT_SIGNATURE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info,
                                        &algorithm, nullptr, nullptr, &size),
          "CryptSignAndEncodeCertificate");
    std::string der(size, '\0');
    Check(CryptSignAndEncodeCertificate(prov.get(), AT_SIGNATURE, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info,
                                        &algorithm, nullptr, reinterpret_cast<BYTE*>(der.data()), &size),
          "CryptSignAndEncodeCertificate");
    der.resize(size);
    return der;
}

TestStoreCert::TestStoreCert(TestCertSpec spec) : spec_(std::move(spec))
{
    container_ = L"certops-test-" + SerialText();
    RemoveBySerial(SerialText());
    // The generating context is released before the key is used elsewhere,
    // which is when the default provider persists the key.
    der_ = MakeCertificate(spec_, container_);

    UniqueCertStore store = OpenMy();
    UniqueCertContext added;
    Check(CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der_.data()),
                                           static_cast<DWORD>(der_.size()), CERT_STORE_ADD_REPLACE_EXISTING, added.put()),
          "CertAddEncodedCertificateToStore");
    if (spec_.withKeyProvInfo) {
        CRYPT_KEY_PROV_INFO provInfo{};
        provInfo.pwszContainerName = container_.data();
        provInfo.dwProvType = PROV_RSA_FULL;
        provInfo.dwKeySpec = AT_SIGNATURE;
        Check(CertSetCertificateContextProperty(added.get(), CERT_KEY_PROV_INFO_PROP_ID, 0, &provInfo),
              "CertSetCertificateContextProperty");
    } else {
        DeleteContainer(container_);
    }
}

TestStoreCert::~TestStoreCert()
{
    RemoveBySerial(SerialText());
    DeleteContainer(container_);
}

std::wstring TestStoreCert::SerialText() const { return HexText(spec_.serial); }

std::wstring HexText(const std::vector<BYTE>& bytes)
{
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (BYTE b : bytes) {
        text.push_back(digits[b >> 4]);
        text.push_back(digits[b & 0x0F]);
    }
    return text;
}

std::vector<std::wstring> StoreOrder()
{
    std::vector<std::wstring> order;
    UniqueCertStore store = OpenMy();
    CertEnumerator certs(store.get());
    while (PCCERT_CONTEXT cert = certs.Next()) order.push_back(CertSerialToHex(cert));
    return order;
}

std::string SignDetached(const TestStoreCert& signer, const std::string& data)
{
    UniqueCertContext cert(CertCreateCertificateContext(X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(signer.Der().data()),
                                                        static_cast<DWORD>(signer.Der().size())));
    Check(static_cast<bool>(cert), "CertCreateCertificateContext");
    std::wstring container = signer.Container();
    CRYPT_KEY_PROV_INFO provInfo{};
    provInfo.pwszContainerName = container.data();
    provInfo.dwProvType = PROV_RSA_FULL;
    provInfo.dwKeySpec = AT_SIGNATURE;
    Check(CertSetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, 0, &provInfo),
          "CertSetCertificateContextProperty");
    PCCERT_CONTEXT certs[1] = {cert.get()};
    CRYPT_SIGN_MESSAGE_PARA para{};
    para.cbSize = sizeof(para);
    para.dwMsgEncodingType = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
    para.pSigningCert = cert.get();
    para.HashAlgorithm.pszObjId = const_cast<char*>(szOID_OIWSEC_sha1);
    para.cMsgCert = 1;
    para.rgpMsgCert = certs;
    const BYTE* items[1] = {reinterpret_cast<const BYTE*>(data.data())};
    DWORD sizes[1] = {static_cast<DWORD>(data.size())};
    DWORD size = 0;
    Check(CryptSignMessage(&para, TRUE, 1, items, sizes, nullptr, &size), "CryptSignMessage");
    std::string message(size, '\0');
    Check(CryptSignMessage(&para, TRUE, 1, items, sizes, reinterpret_cast<BYTE*>(message.data()), &size),
          "CryptSignMessage");
    message.resize(size);
    return message;
}
