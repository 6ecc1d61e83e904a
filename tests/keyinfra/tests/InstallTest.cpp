// The installer's certificates, read back through CryptoAPI from the
// current user's "MY" store, and used to sign.
#include <gtest/gtest.h>

#include "CertInstaller.h"
#include "StoreLookup.h"
#include "TextCodec.h"
#include "WinError.h"

namespace {

FILETIME Utc(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME parts{year, month, 0, day, hour, minute, second, 0};
    FILETIME time{};
    SystemTimeToFileTime(&parts, &time);
    return time;
}

bool operator==(const FILETIME& a, const FILETIME& b) { return CompareFileTime(&a, &b) == 0; }

std::wstring Attribute(PCCERT_CONTEXT cert, const char* oid, bool issuer)
{
    wchar_t text[512] = {};
    CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, issuer ? CERT_NAME_ISSUER_FLAG : 0, const_cast<char*>(oid), text, 512);
    return text;
}

// The first byte of the key-usage bits, or -1 without the extension.
int KeyUsageByte(PCCERT_CONTEXT cert)
{
    BYTE usage[2] = {};
    if (!CertGetIntendedKeyUsage(X509_ASN_ENCODING, cert->pCertInfo, usage, sizeof(usage))) return -1;
    return usage[0];
}

std::vector<BYTE> StoredSerialBytes(PCCERT_CONTEXT cert)
{
    const CRYPT_INTEGER_BLOB& serial = cert->pCertInfo->SerialNumber;
    return std::vector<BYTE>(serial.pbData, serial.pbData + serial.cbData);
}

class InstallTest : public testing::Test {
protected:
    void SetUp() override { ClearStore(L"MY", true); }
    void TearDown() override { ClearStore(L"MY", true); }
};

struct ReadBackCase {
    const char* name;
    CertSpec spec;
    std::wstring subjectCn;
    std::wstring subjectOrg;
    std::wstring issuerCn;
    std::vector<BYTE> storedSerial;  // least significant byte first, as CryptoAPI keeps it
    int keyUsage;                    // first byte, -1 for no extension
    DWORD keyBits;
};

CertSpec Spec(std::wstring subject, std::vector<BYTE> serial)
{
    CertSpec spec;
    spec.subject = std::move(subject);
    spec.serial = std::move(serial);
    return spec;
}

ReadBackCase Case(const char* name, CertSpec spec, std::wstring subjectCn, std::wstring subjectOrg, std::wstring issuerCn,
                  std::vector<BYTE> storedSerial, int keyUsage, DWORD keyBits = 1024)
{
    return ReadBackCase{name, std::move(spec), std::move(subjectCn), std::move(subjectOrg), std::move(issuerCn),
                        std::move(storedSerial), keyUsage, keyBits};
}

std::vector<ReadBackCase> ReadBackCases()
{
    std::vector<ReadBackCase> cases;
    cases.push_back(Case("selfSigned", Spec(L"CN=Test ABC User, O=Test Org, C=CN", {0x0A, 0x1B}), L"Test ABC User", L"Test Org",
                         L"Test ABC User", {0x1B, 0x0A}, 0x80));
    cases.push_back(Case("chineseNames", Spec(L"CN=张三, O=浙江测试有限公司, C=CN", {0x2C}), L"张三", L"浙江测试有限公司", L"张三",
                         {0x2C}, 0x80));
    cases.push_back(Case("serialLeadingZeroKept", Spec(L"CN=Leading Zero", {0x00, 0xE5, 0xA1}), L"Leading Zero", L"", L"Leading Zero",
                         {0xA1, 0xE5, 0x00}, 0x80));
    {
        CertSpec spec = Spec(L"CN=Other Usage", {0x31});
        spec.keyUsage = BYTE{CERT_NON_REPUDIATION_KEY_USAGE | CERT_KEY_ENCIPHERMENT_KEY_USAGE};
        cases.push_back(Case("otherUsageBits", spec, L"Other Usage", L"", L"Other Usage", {0x31}, 0x60));
    }
    {
        CertSpec spec = Spec(L"CN=No Usage", {0x32});
        spec.keyUsage.reset();
        cases.push_back(Case("noKeyUsageExtension", spec, L"No Usage", L"", L"No Usage", {0x32}, -1));
    }
    {
        CertSpec spec = Spec(L"CN=Bob", {0x33});
        spec.issuer = L"CN=示例 Issuing CA, O=Issuer Org";
        cases.push_back(Case("issuerNameOfChoice", spec, L"Bob", L"", L"示例 Issuing CA", {0x33}, 0x80));
    }
    {
        CertSpec spec = Spec(L"CN=Exchange Key", {0x34});
        spec.keySpec = AT_KEYEXCHANGE;
        spec.keyBits = 2048;
        cases.push_back(Case("exchangeKey2048", spec, L"Exchange Key", L"", L"Exchange Key", {0x34}, 0x80, 2048));
    }
    return cases;
}

class InstallReadBackTest : public InstallTest, public testing::WithParamInterface<ReadBackCase> {};

TEST_P(InstallReadBackTest, readsBackThroughCryptoApiAndSigns)
{
    const ReadBackCase& c = GetParam();
    const InstalledCert installed = InstallCertificate(c.spec);

    UniqueCertContext cert = FindBySerial(installed.serial);
    ASSERT_TRUE(cert) << installed.serial;
    EXPECT_EQ(StoredSerialBytes(cert.get()), c.storedSerial);
    EXPECT_EQ(Attribute(cert.get(), szOID_COMMON_NAME, false), c.subjectCn);
    EXPECT_EQ(Attribute(cert.get(), szOID_ORGANIZATION_NAME, false), c.subjectOrg);
    EXPECT_EQ(Attribute(cert.get(), szOID_COMMON_NAME, true), c.issuerCn);
    EXPECT_EQ(KeyUsageByte(cert.get()), c.keyUsage);
    EXPECT_EQ(CertGetPublicKeyLength(X509_ASN_ENCODING, &cert.get()->pCertInfo->SubjectPublicKeyInfo), c.keyBits);

    const std::string data("data to sign\0with a zero", 24);
    EXPECT_EQ(VerifiedContent(SignAttached(cert.get(), data)), data);
}

INSTANTIATE_TEST_SUITE_P(Cases, InstallReadBackTest, testing::ValuesIn(ReadBackCases()),
                         [](const testing::TestParamInfo<ReadBackCase>& info) { return std::string(info.param.name); });

TEST_F(InstallTest, serialText_isMostSignificantByteFirstWithLeadingZero)
{
    CertSpec spec;
    spec.serial = {0x00, 0x9A, 0x5E};
    EXPECT_EQ(InstallCertificate(spec).serial, "009A5E");
    EXPECT_TRUE(FindBySerial("009A5E"));
}

TEST_F(InstallTest, serialThatWouldNotReadBack_isRefused)
{
    for (const std::vector<BYTE>& serial : {std::vector<BYTE>{0x00, 0x01, 0x5E}, std::vector<BYTE>{0xFF, 0x80}}) {
        CertSpec spec;
        spec.serial = serial;
        EXPECT_THROW(InstallCertificate(spec), std::invalid_argument);
    }
    EXPECT_TRUE(SerialsInStore().empty());
}

TEST_F(InstallTest, validity_isTheOneAsked)
{
    CertSpec spec;
    spec.serial = {0x40};
    spec.notBefore = Utc(2016, 4, 5, 8, 5, 0);
    spec.notAfter = Utc(2051, 1, 2);  // after 2049: a GeneralizedTime
    InstallCertificate(spec);

    UniqueCertContext cert = FindBySerial("40");
    ASSERT_TRUE(cert);
    EXPECT_TRUE(cert.get()->pCertInfo->NotBefore == Utc(2016, 4, 5, 8, 5, 0));
    EXPECT_TRUE(cert.get()->pCertInfo->NotAfter == Utc(2051, 1, 2));
}

TEST_F(InstallTest, defaultValidity_coversNow)
{
    CertSpec spec;
    spec.serial = {0x41};
    InstallCertificate(spec);
    UniqueCertContext cert = FindBySerial("41");
    ASSERT_TRUE(cert);
    EXPECT_EQ(CertVerifyTimeValidity(nullptr, cert.get()->pCertInfo), 0);
}

TEST_F(InstallTest, keyProviderProperty_namesTheContainer)
{
    CertSpec spec;
    spec.serial = {0x42};
    spec.container = L"keyinfra-test-named";
    spec.keySpec = AT_KEYEXCHANGE;
    const InstalledCert installed = InstallCertificate(spec);

    UniqueCertContext cert = FindBySerial("42");
    ASSERT_TRUE(cert);
    DWORD size = 0;
    ASSERT_TRUE(CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size));
    std::vector<BYTE> raw(size);
    ASSERT_TRUE(CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, raw.data(), &size));
    const auto* info = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(raw.data());
    EXPECT_STREQ(info->pwszContainerName, L"keyinfra-test-named");
    EXPECT_EQ(std::wstring(info->pwszProvName), installed.provider);
    EXPECT_EQ(info->dwProvType, DWORD{PROV_RSA_FULL});
    EXPECT_EQ(info->dwKeySpec, DWORD{AT_KEYEXCHANGE});
}

TEST_F(InstallTest, issuedByTestCa_verifiesWithTheCaCertificate)
{
    CertSpec first;
    first.serial = {0x51};
    first.caName = L"CN=KeyInfra Test CA, O=测试";
    const InstalledCert one = InstallCertificate(first);
    CertSpec second = first;
    second.serial = {0x52};
    const InstalledCert two = InstallCertificate(second);

    UniqueCertContext cert = FindBySerial("52");
    ASSERT_TRUE(cert);
    EXPECT_EQ(Attribute(cert.get(), szOID_COMMON_NAME, true), L"KeyInfra Test CA");
    // The CA's key is kept: the CA certificate of the first run verifies the second.
    UniqueCertContext ca(CertCreateCertificateContext(X509_ASN_ENCODING, one.caDer.data(), static_cast<DWORD>(one.caDer.size())));
    ASSERT_TRUE(ca);
    EXPECT_TRUE(CryptVerifyCertificateSignature(0, X509_ASN_ENCODING, cert.get()->pbCertEncoded, cert.get()->cbCertEncoded,
                                                &ca.get()->pCertInfo->SubjectPublicKeyInfo));
    EXPECT_FALSE(CryptVerifyCertificateSignature(0, X509_ASN_ENCODING, cert.get()->pbCertEncoded, cert.get()->cbCertEncoded,
                                                 &cert.get()->pCertInfo->SubjectPublicKeyInfo));
    EXPECT_FALSE(FindBySerial(SerialText(ca.get()->pCertInfo->SerialNumber))) << "the CA stays out of the store";
    EXPECT_EQ(two.caDer.empty(), false);
}

TEST_F(InstallTest, withoutKey_hasNoKeyProviderAndCannotSign)
{
    CertSpec spec;
    spec.serial = {0x60};
    spec.withKey = false;
    const InstalledCert installed = InstallCertificate(spec);
    EXPECT_TRUE(installed.container.empty());

    UniqueCertContext cert = FindBySerial("60");
    ASSERT_TRUE(cert);
    DWORD size = 0;
    EXPECT_FALSE(CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size));
    EXPECT_THROW(SignAttached(cert.get(), "data"), HResultError);
}

TEST_F(InstallTest, equalSerials_bothKept)
{
    CertSpec alice;
    alice.subject = L"CN=Alice";
    alice.serial = {0x0A, 0x1B};
    alice.container = L"keyinfra-alice";
    CertSpec bob = alice;
    bob.subject = L"CN=Bob";
    bob.container = L"keyinfra-bob";
    InstallCertificate(alice);
    InstallCertificate(bob);

    const std::vector<StoreEntry> entries = ListStore(L"MY");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].serial, "0A1B");
    EXPECT_EQ(entries[1].serial, "0A1B");
    EXPECT_NE(entries[0].subject, entries[1].subject);
}

TEST_F(InstallTest, clearStore_removesCertificatesAndTheirKeys)
{
    CertSpec spec;
    spec.serial = {0x70};
    spec.container = L"keyinfra-cleared";
    InstallCertificate(spec);
    CertSpec keyless;
    keyless.serial = {0x71};
    keyless.withKey = false;
    InstallCertificate(keyless);
    ASSERT_EQ(SerialsInStore().size(), 2u);

    ClearStore(L"MY", true);

    EXPECT_TRUE(SerialsInStore().empty());
    HCRYPTPROV prov = 0;
    EXPECT_FALSE(CryptAcquireContextW(&prov, L"keyinfra-cleared", nullptr, PROV_RSA_FULL, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_KEYSET));
}

} // namespace
