#include "CertInstaller.h"

#include <cstring>
#include <stdexcept>

#include "Handles.h"
#include "Names.h"
#include "SoftTokenProvider.h"
#include "TextCodec.h"
#include "WinError.h"

namespace {

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr ULONGLONG kDay = 24ULL * 60 * 60 * 10000000;

FILETIME Now(LONGLONG offset)
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{};
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart += offset;
    return FILETIME{value.LowPart, value.HighPart};
}

std::vector<BYTE> RandomSerial()
{
    UniqueCryptProv prov;
    CheckWin32(CryptAcquireContextW(prov.put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT), "CryptAcquireContextW");
    std::vector<BYTE> serial(8);
    CheckWin32(CryptGenRandom(prov.get(), static_cast<DWORD>(serial.size()), serial.data()), "CryptGenRandom");
    // Positive and without a leading zero byte, so the text has 16 digits.
    serial[0] = static_cast<BYTE>((serial[0] & 0x7F) | 0x10);
    return serial;
}

template <typename T>
std::vector<BYTE> Encode(LPCSTR type, const T* value)
{
    DWORD size = 0;
    CheckWin32(CryptEncodeObject(X509_ASN_ENCODING, type, value, nullptr, &size), "CryptEncodeObject");
    std::vector<BYTE> encoded(size);
    CheckWin32(CryptEncodeObject(X509_ASN_ENCODING, type, value, encoded.data(), &size), "CryptEncodeObject");
    encoded.resize(size);
    return encoded;
}

// Opens (creating it afresh when asked) a key container, and gives the name
// the provider reports for itself.
struct KeyContainer {
    UniqueCryptProv prov;
    std::wstring providerName;
};

std::wstring ProviderName(HCRYPTPROV prov)
{
    DWORD size = 0;
    CheckWin32(CryptGetProvParam(prov, PP_NAME, nullptr, &size, 0), "CryptGetProvParam(PP_NAME)");
    std::string name(size, '\0');
    CheckWin32(CryptGetProvParam(prov, PP_NAME, reinterpret_cast<BYTE*>(name.data()), &size, 0), "CryptGetProvParam(PP_NAME)");
    name.resize(strlen(name.c_str()));
    std::wstring wide(name.size(), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(), static_cast<int>(wide.size()));
    return wide;
}

const wchar_t* ProviderOrDefault(const std::wstring& provider) { return provider.empty() ? nullptr : provider.c_str(); }

// Makes a fresh key pair in the container (an old one of that name is
// deleted). rsaenh writes a key out only when the context that made it is
// released, so the key is reopened through a second context.
KeyContainer CreateKey(const std::wstring& provider, const std::wstring& container, DWORD keySpec, DWORD keyBits,
                       const std::optional<std::string>& pin)
{
    HCRYPTPROV gone = 0;
    CryptAcquireContextW(&gone, container.c_str(), ProviderOrDefault(provider), PROV_RSA_FULL, CRYPT_DELETEKEYSET);
    {
        UniqueCryptProv maker;
        CheckWin32(CryptAcquireContextW(maker.put(), container.c_str(), ProviderOrDefault(provider), PROV_RSA_FULL, CRYPT_NEWKEYSET),
                   "CryptAcquireContextW(CRYPT_NEWKEYSET)");
        if (pin) {
            CheckWin32(CryptSetProvParam(maker.get(), kSetSignaturePinParam, reinterpret_cast<const BYTE*>(pin->c_str()), 0),
                       "CryptSetProvParam(set PIN)");
        }
        UniqueCryptKey key;
        CheckWin32(CryptGenKey(maker.get(), keySpec, keyBits << 16 | CRYPT_EXPORTABLE, key.put()), "CryptGenKey");
    }
    KeyContainer opened;
    CheckWin32(CryptAcquireContextW(opened.prov.put(), container.c_str(), ProviderOrDefault(provider), PROV_RSA_FULL, 0),
               "CryptAcquireContextW");
    opened.providerName = ProviderName(opened.prov.get());
    return opened;
}

// A key that lives only as long as the returned context: for certificates
// added without a key.
UniqueCryptProv EphemeralKey(DWORD keySpec, DWORD keyBits)
{
    UniqueCryptProv prov;
    CheckWin32(CryptAcquireContextW(prov.put(), nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT), "CryptAcquireContextW");
    UniqueCryptKey key;
    CheckWin32(CryptGenKey(prov.get(), keySpec, keyBits << 16, key.put()), "CryptGenKey");
    return prov;
}

std::vector<BYTE> PublicKeyInfo(HCRYPTPROV prov, DWORD keySpec)
{
    DWORD size = 0;
    CheckWin32(CryptExportPublicKeyInfo(prov, keySpec, X509_ASN_ENCODING, nullptr, &size), "CryptExportPublicKeyInfo");
    std::vector<BYTE> info(size);
    CheckWin32(CryptExportPublicKeyInfo(prov, keySpec, X509_ASN_ENCODING, reinterpret_cast<CERT_PUBLIC_KEY_INFO*>(info.data()), &size),
               "CryptExportPublicKeyInfo");
    return info;
}

struct ToBeSigned {
    std::vector<BYTE> serialLsbFirst;
    std::vector<BYTE> subject;
    std::vector<BYTE> issuer;
    FILETIME notBefore{};
    FILETIME notAfter{};
    std::vector<BYTE> publicKeyInfo;
    std::optional<BYTE> keyUsage;
    bool isCa = false;
};

std::vector<BYTE> SignCertificate(const ToBeSigned& tbs, HCRYPTPROV signer, DWORD signerKeySpec)
{
    BYTE usageBits = tbs.keyUsage.value_or(0);
    CRYPT_BIT_BLOB usage{1, &usageBits, 0};
    CERT_BASIC_CONSTRAINTS2_INFO constraints{TRUE, FALSE, 0};

    std::vector<std::vector<BYTE>> encodedExtensions;
    std::vector<CERT_EXTENSION> extensions;
    if (tbs.keyUsage) {
        encodedExtensions.push_back(Encode(X509_KEY_USAGE, &usage));
        extensions.push_back(CERT_EXTENSION{const_cast<char*>(szOID_KEY_USAGE), TRUE, {}});
    }
    if (tbs.isCa) {
        encodedExtensions.push_back(Encode(X509_BASIC_CONSTRAINTS2, &constraints));
        extensions.push_back(CERT_EXTENSION{const_cast<char*>(szOID_BASIC_CONSTRAINTS2), TRUE, {}});
    }
    for (size_t i = 0; i < extensions.size(); ++i) {
        extensions[i].Value.cbData = static_cast<DWORD>(encodedExtensions[i].size());
        extensions[i].Value.pbData = encodedExtensions[i].data();
    }

    // SHA-1 with RSA: what every PROV_RSA_FULL provider can sign.
    CRYPT_ALGORITHM_IDENTIFIER algorithm{const_cast<char*>(szOID_RSA_SHA1RSA), {}};
    std::vector<BYTE> serial = tbs.serialLsbFirst;
    std::vector<BYTE> subject = tbs.subject;
    std::vector<BYTE> issuer = tbs.issuer;
    CERT_INFO info{};
    info.dwVersion = CERT_V3;
    info.SerialNumber = {static_cast<DWORD>(serial.size()), serial.data()};
    info.SignatureAlgorithm = algorithm;
    info.Issuer = {static_cast<DWORD>(issuer.size()), issuer.data()};
    info.Subject = {static_cast<DWORD>(subject.size()), subject.data()};
    info.NotBefore = tbs.notBefore;
    info.NotAfter = tbs.notAfter;
    info.SubjectPublicKeyInfo = *reinterpret_cast<const CERT_PUBLIC_KEY_INFO*>(tbs.publicKeyInfo.data());
    info.cExtension = static_cast<DWORD>(extensions.size());
    info.rgExtension = extensions.empty() ? nullptr : extensions.data();

    DWORD size = 0;
    CheckWin32(CryptSignAndEncodeCertificate(signer, signerKeySpec, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, &algorithm,
                                             nullptr, nullptr, &size),
               "CryptSignAndEncodeCertificate");
    std::vector<BYTE> der(size);
    CheckWin32(CryptSignAndEncodeCertificate(signer, signerKeySpec, X509_ASN_ENCODING, X509_CERT_TO_BE_SIGNED, &info, &algorithm,
                                             nullptr, der.data(), &size),
               "CryptSignAndEncodeCertificate");
    der.resize(size);
    return der;
}

std::wstring CaContainer(const std::wstring& caName)
{
    // FNV-1a: a stable, short container name per CA name.
    unsigned long long hash = 1469598103934665603ULL;
    for (wchar_t c : caName) {
        hash ^= static_cast<unsigned long long>(c);
        hash *= 1099511628211ULL;
    }
    wchar_t text[17];
    swprintf(text, 17, L"%016llX", hash);
    return std::wstring(L"keyinfra-ca-") + text;
}

// The test CA's key is made once and kept, so every certificate issued in
// its name is signed by the same key.
UniqueCryptProv OpenOrCreateCaKey(const std::wstring& container)
{
    UniqueCryptProv prov;
    if (CryptAcquireContextW(prov.put(), container.c_str(), nullptr, PROV_RSA_FULL, 0)) {
        UniqueCryptKey key;
        if (CryptGetUserKey(prov.get(), AT_SIGNATURE, key.put())) return prov;
    }
    prov.reset();
    return std::move(CreateKey(L"", container, AT_SIGNATURE, 2048, std::nullopt).prov);
}

UniqueCertStore OpenStore(const std::wstring& store)
{
    UniqueCertStore opened(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, store.c_str()));
    CheckWin32(static_cast<bool>(opened), "CertOpenStore");
    return opened;
}

void AddToStore(PCCERT_CONTEXT cert, const std::wstring& store)
{
    UniqueCertStore opened = OpenStore(store);
    // Always: tests may want two certificates with equal serials.
    CheckWin32(CertAddCertificateContextToStore(opened.get(), cert, CERT_STORE_ADD_ALWAYS, nullptr), "CertAddCertificateContextToStore");
}

UniqueCertContext CreateContext(const std::vector<BYTE>& der)
{
    UniqueCertContext cert(CertCreateCertificateContext(kEncoding, der.data(), static_cast<DWORD>(der.size())));
    CheckWin32(static_cast<bool>(cert), "CertCreateCertificateContext");
    return cert;
}

} // namespace

InstalledCert InstallCertificate(const CertSpec& spec)
{
    const std::vector<BYTE> serial = spec.serial.empty() ? RandomSerial() : spec.serial;
    // The encoder keeps only the shortest form of an INTEGER: a redundant
    // leading byte would be dropped and the serial would not read back.
    if (serial.size() > 1 && ((serial[0] == 0x00 && serial[1] < 0x80) || (serial[0] == 0xFF && serial[1] >= 0x80))) {
        throw std::invalid_argument("serial " + HexText(serial.data(), serial.size()) +
                                    " is not the shortest form of its INTEGER (a leading 00 only before a byte of 80 or more)");
    }
    InstalledCert result;
    result.serial = HexText(serial.data(), serial.size());

    ToBeSigned tbs;
    tbs.serialLsbFirst.assign(serial.rbegin(), serial.rend());
    tbs.subject = EncodeName(spec.subject);
    tbs.notBefore = spec.notBefore.value_or(Now(-static_cast<LONGLONG>(kDay)));
    tbs.notAfter = spec.notAfter.value_or(Now(static_cast<LONGLONG>(365 * kDay)));
    tbs.keyUsage = spec.keyUsage;

    KeyContainer key;
    if (spec.withKey) {
        const std::wstring container = spec.container.empty() ? L"keyinfra-" + FromUtf8(result.serial) : spec.container;
        key = CreateKey(spec.provider, container, spec.keySpec, spec.keyBits, spec.pin);
        result.provider = key.providerName;
        result.container = container;
    } else {
        key.prov = EphemeralKey(spec.keySpec, spec.keyBits);
    }
    tbs.publicKeyInfo = PublicKeyInfo(key.prov.get(), spec.keySpec);

    if (spec.caName) {
        UniqueCryptProv ca = OpenOrCreateCaKey(CaContainer(*spec.caName));
        ToBeSigned caTbs;
        const std::vector<BYTE> caSerial = RandomSerial();
        caTbs.serialLsbFirst.assign(caSerial.rbegin(), caSerial.rend());
        caTbs.subject = caTbs.issuer = EncodeName(*spec.caName);
        caTbs.notBefore = Now(-static_cast<LONGLONG>(30 * kDay));
        caTbs.notAfter = Now(static_cast<LONGLONG>(3650 * kDay));
        caTbs.publicKeyInfo = PublicKeyInfo(ca.get(), AT_SIGNATURE);
        caTbs.keyUsage = BYTE{CERT_KEY_CERT_SIGN_KEY_USAGE | CERT_CRL_SIGN_KEY_USAGE};
        caTbs.isCa = true;
        result.caDer = SignCertificate(caTbs, ca.get(), AT_SIGNATURE);
        tbs.issuer = caTbs.subject;
        result.der = SignCertificate(tbs, ca.get(), AT_SIGNATURE);
    } else {
        tbs.issuer = spec.issuer ? EncodeName(*spec.issuer) : tbs.subject;
        result.der = SignCertificate(tbs, key.prov.get(), spec.keySpec);
    }
    key.prov.reset();

    UniqueCertContext cert = CreateContext(result.der);
    if (spec.withKey) {
        CRYPT_KEY_PROV_INFO info{};
        info.pwszContainerName = const_cast<wchar_t*>(result.container.c_str());
        info.pwszProvName = const_cast<wchar_t*>(result.provider.c_str());
        info.dwProvType = PROV_RSA_FULL;
        info.dwFlags = spec.provInfoFlags;
        info.dwKeySpec = spec.keySpec;
        CheckWin32(CertSetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, 0, &info),
                   "CertSetCertificateContextProperty(CERT_KEY_PROV_INFO_PROP_ID)");
    }
    AddToStore(cert.get(), spec.store);
    return result;
}

void AddEncodedCertificate(const std::vector<BYTE>& der, const std::wstring& store)
{
    UniqueCertContext cert = CreateContext(der);
    AddToStore(cert.get(), store);
}

namespace {

// The certificate's key-provider record, or an empty buffer without one.
std::vector<BYTE> KeyProvInfo(PCCERT_CONTEXT cert)
{
    DWORD size = 0;
    if (!CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size)) return {};
    std::vector<BYTE> info(size);
    if (!CertGetCertificateContextProperty(cert, CERT_KEY_PROV_INFO_PROP_ID, info.data(), &size)) return {};
    return info;
}

} // namespace

void ClearStore(const std::wstring& store, bool deleteKeys)
{
    // The registry store itself: deleting through the system store's
    // collection is not written back under Wine.
    UniqueCertStore opened(
        CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, store.c_str()));
    CheckWin32(static_cast<bool>(opened), "CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W)");
    std::vector<UniqueCertContext> all;
    CertEnumerator certs(opened.get());
    while (PCCERT_CONTEXT cert = certs.Next()) all.emplace_back(CertDuplicateCertificateContext(cert));
    for (UniqueCertContext& cert : all) {
        const std::vector<BYTE> raw = KeyProvInfo(cert.get());
        if (deleteKeys && !raw.empty()) {
            const auto* info = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(raw.data());
            HCRYPTPROV gone = 0;
            // A key already gone, or a provider no longer registered, is no failure here.
            CryptAcquireContextW(&gone, info->pwszContainerName, info->pwszProvName, info->dwProvType,
                                 CRYPT_DELETEKEYSET | (info->dwFlags & CRYPT_MACHINE_KEYSET));
        }
        // Deleting frees the context, whatever the outcome.
        CheckWin32(CertDeleteCertificateFromStore(cert.release()), "CertDeleteCertificateFromStore");
    }
}

std::vector<StoreEntry> ListStore(const std::wstring& store)
{
    UniqueCertStore opened = OpenStore(store);
    std::vector<StoreEntry> entries;
    CertEnumerator certs(opened.get());
    while (PCCERT_CONTEXT cert = certs.Next()) {
        StoreEntry entry;
        entry.serial = SerialText(cert->pCertInfo->SerialNumber);
        entry.subject = NameText(cert->pCertInfo->Subject);
        const std::vector<BYTE> raw = KeyProvInfo(cert);
        if (!raw.empty()) {
            const auto* info = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(raw.data());
            if (info->pwszContainerName) entry.container = info->pwszContainerName;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}
