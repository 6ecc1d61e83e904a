#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Base64.h"
#include "CertInfo.h"
#include "Fixtures.h"

namespace {

std::string CertText(const char* file) { return Base64Encode(ReadFixture(std::string("certs/") + file)); }

struct FieldCase {
    const char* name;
    const char* file;
    int code;
    const char* expected;
};

class CertInfoFieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(CertInfoFieldTest, answersTheFieldText)
{
    EXPECT_EQ(QueryCertInfo(CertText(GetParam().file), GetParam().code), GetParam().expected);
}

constexpr const char* kUser = "rsa-v3-dated.der";
constexpr const char* kRoot = "rsa-v3-selfsigned.der";

INSTANTIATE_TEST_SUITE_P(Codes, CertInfoFieldTest,
    testing::Values(
        FieldCase{"v3_version", kUser, 1, "2"},
        FieldCase{"v1_version", "rsa-v1-no-ou.der", 1, "0"},
        FieldCase{"serial", kUser, 2, "2016040508"},
        FieldCase{"serialLeadingZeroKept", "rsa-v3-serial-leading-zero.der", 2, "009A0B0C0D"},
        FieldCase{"rsaAlgorithm", kUser, 3, "RSA"},
        FieldCase{"ecAlgorithm", "ec-p256.der", 3, "ECC"},
        FieldCase{"otherAlgorithmDotted", "ed25519.der", 3, "1.3.101.112"},
        FieldCase{"issuerCountry", kUser, 4, "CN"},
        FieldCase{"issuerOrg", kUser, 5, "Fixture Org"},
        FieldCase{"issuerUnit", kUser, 6, "Fixture Unit"},
        FieldCase{"issuerState", kUser, 7, "Zhejiang"},
        FieldCase{"issuerCommonName", kUser, 8, "Fixture Root CA"},
        FieldCase{"issuerLocality", kUser, 9, "Hangzhou"},
        FieldCase{"issuerEmail", kUser, 16, "root@fixture.test"},
        FieldCase{"subjectCountry", kUser, 19, "CN"},
        FieldCase{"subjectOrg", kUser, 20, "User Org"},
        FieldCase{"subjectUnit", kUser, 21, "User Unit"},
        FieldCase{"subjectState", kUser, 22, "Zhejiang"},
        FieldCase{"subjectCommonName", kUser, 23, "Fixture User"},
        FieldCase{"subjectLocality", kUser, 24, "Ningbo"},
        FieldCase{"subjectEmail", kUser, 25, "user@fixture.test"},
        FieldCase{"issuerGivenName", kUser, 32, "Rooty"},
        FieldCase{"subjectGivenName", kUser, 33, "Ada"},
        FieldCase{"subjectWithoutUnit_empty", "rsa-v1-no-ou.der", 21, ""},
        FieldCase{"subjectWithoutUnit_otherCodesAnswer", "rsa-v1-no-ou.der", 20, "Plain Org"},
        FieldCase{"noEmail_empty", "rsa-v1-no-ou.der", 25, ""},
        FieldCase{"unknownCode0", kUser, 0, ""},
        FieldCase{"unknownCode10", kUser, 10, ""},
        FieldCase{"unknownCode12", kUser, 12, ""},
        FieldCase{"unknownCode26", kUser, 26, ""},
        FieldCase{"unknownCode30", kUser, 30, ""},
        FieldCase{"unknownCode35", kUser, 35, ""},
        FieldCase{"negativeCode", kUser, -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CertInfo, selfSignedIssuerCodesMatchSubjectCodes)
{
    const std::string cert = CertText(kRoot);
    const std::pair<int, int> pairs[] = {{4, 19}, {5, 20}, {6, 21}, {7, 22}, {8, 23}, {9, 24}, {16, 25}, {32, 33}};
    for (const auto& [issuer, subject] : pairs) {
        EXPECT_FALSE(QueryCertInfo(cert, subject).empty()) << subject;
        EXPECT_EQ(QueryCertInfo(cert, issuer), QueryCertInfo(cert, subject)) << issuer << " vs " << subject;
    }
}

TEST(CertInfo, publicKeyIsTheDerRsaKeyNotTheWholeKeyInfo)
{
    EXPECT_EQ(Base64Decode(QueryCertInfo(CertText(kUser), 34)), ReadFixture("certs/user-rsa-public-key.der"));
}

TEST(CertInfo, inputThatIsNoCertificateGivesEmptyForEveryCode)
{
    const std::string der = ReadFixture(std::string("certs/") + kUser);
    const std::string pem = "-----BEGIN CERTIFICATE-----\n" + Base64Encode(der) + "\n-----END CERTIFICATE-----\n";
    const std::string inputs[] = {"", "not base64 at all", pem, Base64Encode(der.substr(0, der.size() / 2)),
                                  Base64Encode("\x30\x03\x02\x01\x01")};
    for (const std::string& input : inputs)
        for (int code = -1; code <= 40; ++code) EXPECT_EQ(QueryCertInfo(input, code), "") << input << " code " << code;
}

TEST(CertInfo, serialTextIsEvenUpperCaseHex)
{
    const std::string serial = QueryCertInfo(CertText(kRoot), 2);
    EXPECT_EQ(serial.size() % 2, 0u);
    EXPECT_EQ(serial.find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

// Run with TZ set and PELORIN_EXPECT_UTC_OFFSET_HOURS naming its offset.
TEST(CertInfoLocalTime, validityFollowsTheTimeZoneWithoutLeadingZeros)
{
    const char* offset = std::getenv("PELORIN_EXPECT_UTC_OFFSET_HOURS");
    ASSERT_NE(offset, nullptr);
    const std::string cert = CertText(kUser);
    if (std::string(offset) == "0") {
        EXPECT_EQ(QueryCertInfo(cert, 17), "2016-4-5 8:5:0");
        EXPECT_EQ(QueryCertInfo(cert, 18), "2026-4-5 8:5:0");
    } else {
        ASSERT_EQ(std::string(offset), "8");
        EXPECT_EQ(QueryCertInfo(cert, 17), "2016-4-5 16:5:0");
        EXPECT_EQ(QueryCertInfo(cert, 18), "2026-4-5 16:5:0");
    }
}

} // namespace
