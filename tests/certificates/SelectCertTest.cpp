#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "CertDialogFilter.h"
#include "CertSerialToHex.h"
#include "CollectSigningCerts.h"
#include "Handles.h"
#include "SelectCert.h"
#include "TestStoreCert.h"

namespace {

constexpr BYTE kNoSigning = CERT_NON_REPUDIATION_KEY_USAGE | CERT_KEY_ENCIPHERMENT_KEY_USAGE;

// The certificates every selection test sees, beside whatever else the store holds.
class SelectCertTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        certs_ = new std::vector<std::unique_ptr<TestStoreCert>>;
        auto add = [](TestCertSpec spec) { certs_->push_back(std::make_unique<TestStoreCert>(std::move(spec))); };
        add({{0x7C, 0xE5, 0x01}, L"CN=Test ABC User SQ7, O=Certops Test"});
        add({{0x7C, 0xE5, 0x02}, L"CN=Leaf SQ7, O=Certops Test", L"CN=Issuing SQ7 Authority, O=Certops Test"});
        add({{0x7C, 0xE5, 0x03}, L"CN=Unsigning SQ7, O=Certops Test", L"", kNoSigning});
        add({{0x7C, 0xE5, 0x04}, L"CN=Unmarked SQ7, O=Certops Test", L"", std::nullopt});
        add({{0x7C, 0xE5, 0x05}, L"CN=Alice PairSQ7, O=Certops Test"});
        add({{0x7C, 0xE5, 0x06}, L"CN=Bob PairSQ7, O=Certops Test"});
        add({{0x7C, 0xE5, 0x07}, L"CN=Pipe||And&&&SQ7, O=Certops Test"});
        add({{0x00, 0x9C, 0xE5, 0x08}, L"CN=Zero Lead SQ7, O=Certops Test"});
        add({{0x7C, 0xE5, 0x09}, L"CN=Star * SQ7, O=Certops Test"});
    }
    static void TearDownTestSuite()
    {
        delete certs_;
        certs_ = nullptr;
    }
    static const TestStoreCert& Cert(size_t i) { return *(*certs_)[i]; }
    static std::wstring Serial(size_t i) { return Cert(i).SerialText(); }

    static std::vector<std::wstring> CollectedSerials(const wchar_t* filter)
    {
        std::vector<std::wstring> serials;
        for (const CertCandidate& c : CollectSigningCerts(filter)) serials.push_back(c.serial);
        return serials;
    }
    static bool Contains(const std::vector<std::wstring>& v, const std::wstring& s)
    {
        return std::find(v.begin(), v.end(), s) != v.end();
    }
    // The serials among wanted, in the order the store enumerates them.
    static std::vector<std::wstring> InStoreOrder(const std::vector<std::wstring>& wanted)
    {
        std::vector<std::wstring> ordered;
        for (const std::wstring& s : StoreOrder())
            if (Contains(wanted, s)) ordered.push_back(s);
        return ordered;
    }

private:
    static std::vector<std::unique_ptr<TestStoreCert>>* certs_;
};
std::vector<std::unique_ptr<TestStoreCert>>* SelectCertTest::certs_ = nullptr;

TEST_F(SelectCertTest, nullEmptyAndStarFilters_matchEverySigningCertificateAndNoOther)
{
    const wchar_t* filters[] = {nullptr, L"", L"*"};
    for (const wchar_t* filter : filters) {
        SCOPED_TRACE(filter ? filter : L"(null)");
        const std::vector<std::wstring> serials = CollectedSerials(filter);
        for (size_t signing : {0u, 1u, 4u, 5u, 6u, 7u, 8u}) EXPECT_TRUE(Contains(serials, Serial(signing)));
        EXPECT_FALSE(Contains(serials, Serial(2)));
        EXPECT_FALSE(Contains(serials, Serial(3)));
    }
}

TEST_F(SelectCertTest, commonNameMatchIgnoresLetterCaseAndLeavesTheFilterAlone)
{
    wchar_t filter[] = L"abc user sq7";
    EXPECT_EQ(SelectCert(filter, 2, nullptr), L"Test ABC User SQ7||" + Serial(0));
    EXPECT_STREQ(filter, L"abc user sq7");
}

TEST_F(SelectCertTest, issuerMatch_isListedWithTheIssuersCommonName)
{
    EXPECT_EQ(SelectCert(L"issuing sq7", 2, nullptr), L"Issuing SQ7 Authority||" + Serial(1));
}

TEST_F(SelectCertTest, subjectMatchWinsOverIssuerMatch)
{
    EXPECT_EQ(SelectCert(L"leaf sq7", 2, nullptr), L"Leaf SQ7||" + Serial(1));
}

TEST_F(SelectCertTest, certificatesWithoutTheSigningBitOrWithoutKeyUsage_neverReturnedInAnyMode)
{
    for (const wchar_t* filter : {L"unsigning sq7", L"unmarked sq7"})
        for (short mode : {0, 1, 2, 3}) EXPECT_EQ(SelectCert(filter, mode, nullptr), L"") << filter << " mode " << mode;
}

TEST_F(SelectCertTest, listMode_joinsNameAndSerialInStoreOrder)
{
    const std::vector<std::wstring> order = InStoreOrder({Serial(4), Serial(5)});
    ASSERT_EQ(order.size(), 2u);
    auto name = [&](const std::wstring& s) { return s == Serial(4) ? L"Alice PairSQ7" : L"Bob PairSQ7"; };
    EXPECT_EQ(SelectCert(L"PAIRsq7", 2, nullptr),
              name(order[0]) + (L"||" + order[0]) + L"&&&" + name(order[1]) + L"||" + order[1]);
}

TEST_F(SelectCertTest, listMode_copiesSeparatorsInsideNamesUnchanged)
{
    EXPECT_EQ(SelectCert(L"&&&sq7", 2, nullptr), L"Pipe||And&&&SQ7||" + Serial(6));
}

TEST_F(SelectCertTest, firstMode_takesTheFirstMatchInStoreOrderWithoutAsking)
{
    EXPECT_EQ(SelectCert(L"pairsq7", 1, nullptr), InStoreOrder({Serial(4), Serial(5)}).front());
}

TEST_F(SelectCertTest, askingMode_withOneMatchReturnsItsSerialWithoutAsking)
{
    EXPECT_EQ(SelectCert(L"alice pairsq7", 0, nullptr), Serial(4));
    EXPECT_EQ(SelectCert(L"alice pairsq7", -7, nullptr), Serial(4));
}

TEST_F(SelectCertTest, noMatch_givesTheEmptyTextInEveryMode)
{
    for (short mode : {0, 1, 2}) EXPECT_EQ(SelectCert(L"no such name anywhere sq7", mode, nullptr), L"");
}

TEST_F(SelectCertTest, serialStartingWithAZeroByte_keepsItsLeadingZeros)
{
    EXPECT_EQ(Serial(7), L"009CE508");
    EXPECT_EQ(SelectCert(L"zero lead sq7", 1, nullptr), L"009CE508");
}

struct FilterCase {
    const char* name;
    size_t cert;
    const wchar_t* filter;
    BOOL shown;
};

class CertDialogFilterTest : public SelectCertTest, public testing::WithParamInterface<FilterCase> {};

TEST_P(CertDialogFilterTest, showsOrHides)
{
    UniqueCertContext cert(CertCreateCertificateContext(X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(Cert(GetParam().cert).Der().data()),
                                                        static_cast<DWORD>(Cert(GetParam().cert).Der().size())));
    ASSERT_TRUE(cert);
    std::wstring filter = GetParam().filter ? GetParam().filter : L"";
    const std::wstring before = filter;
    const LPARAM data = reinterpret_cast<LPARAM>(GetParam().filter ? filter.c_str() : nullptr);
    EXPECT_EQ(CertDialogFilter(cert.get(), data, 0, 0), GetParam().shown);
    EXPECT_EQ(filter, before);
}

INSTANTIATE_TEST_SUITE_P(Cases, CertDialogFilterTest,
    testing::Values(
        FilterCase{"nullFilter_showsSigning", 0, nullptr, TRUE},
        FilterCase{"emptyFilter_showsSigning", 0, L"", TRUE},
        FilterCase{"nullFilter_hidesWithoutSigningBit", 2, nullptr, FALSE},
        FilterCase{"emptyFilter_hidesWithoutKeyUsage", 3, L"", FALSE},
        FilterCase{"matchingFilter_hidesWithoutSigningBit", 2, L"unsigning", FALSE},
        FilterCase{"subjectCommonName_anyCase", 0, L"test abc user", TRUE},
        FilterCase{"issuerOnlyText_shown", 1, L"issuing sq7 authority", TRUE},
        FilterCase{"subjectOnlyText_shown", 1, L"leaf sq7", TRUE},
        FilterCase{"wholeDistinguishedName_organisation", 0, L"o=certops test", TRUE},
        FilterCase{"attributeLabelsAreSearchedToo", 4, L"CN=ALICE", TRUE},
        FilterCase{"noMatch_hidden", 0, L"bob", FALSE},
        FilterCase{"star_isLiteralAndHides", 0, L"*", FALSE},
        FilterCase{"star_isLiteralAndShowsAStarName", 8, L"star *", TRUE}),
    [](const auto& info) { return std::string(info.param.name); });

struct SerialCase {
    const char* name;
    std::vector<BYTE> stored; // least significant byte first, as CryptoAPI holds it
    std::wstring text;
};

class CertSerialToHexTest : public testing::TestWithParam<SerialCase> {};

TEST_P(CertSerialToHexTest, readsMostSignificantByteFirst)
{
    std::vector<BYTE> stored = GetParam().stored;
    CERT_INFO info{};
    info.SerialNumber = {static_cast<DWORD>(stored.size()), stored.data()};
    CERT_CONTEXT context{};
    context.pCertInfo = &info;
    EXPECT_EQ(CertSerialToHex(&context), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, CertSerialToHexTest,
    testing::Values(
        SerialCase{"threeBytes", {0x01, 0x02, 0x03}, L"030201"},
        SerialCase{"leadingZeroKept", {0x5E, 0x01, 0x00}, L"00015E"},
        SerialCase{"upperCaseDigits", {0xAB, 0xCD}, L"CDAB"},
        SerialCase{"oneByte", {0x0F}, L"0F"},
        SerialCase{"longerThanTheOld128CharacterBuffer", std::vector<BYTE>(70, 0xEE), std::wstring(140, L'E')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CertSerialToHex, absentContextGivesEmptyText) { EXPECT_EQ(CertSerialToHex(nullptr), L""); }

} // namespace
