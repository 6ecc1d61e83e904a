#include <gtest/gtest.h>

#include <string>

#include "Base64.h"
#include "ExportUserCert.h"
#include "FindCertDerBySerial.h"
#include "TestStoreCert.h"

namespace {

class ExportUserCertTest : public testing::Test {
protected:
    TestStoreCert signing_{{{0x7C, 0xE6, 0xAB, 0x01}, L"CN=Export EQ7, O=Certops Test"}};
    TestStoreCert noUsage_{{{0x7C, 0xE6, 0xAB, 0x02}, L"CN=Export Unmarked EQ7, O=Certops Test", L"", std::nullopt}};
};

TEST_F(ExportUserCertTest, lowerCaseSerial_findsTheCertificateAndDecodesToExactlyItsDer)
{
    wchar_t serial[] = L"7ce6ab01";
    const std::string text = ExportUserCert(serial);
    EXPECT_EQ(Base64Decode(text), signing_.Der());
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
    EXPECT_STREQ(serial, L"7ce6ab01");
}

TEST_F(ExportUserCertTest, certificateWithoutKeyUsage_isExportedToo)
{
    EXPECT_EQ(Base64Decode(ExportUserCert(L"7CE6AB02")), noUsage_.Der());
}

TEST_F(ExportUserCertTest, serialsThatAreNotTheWholeText_findNothing)
{
    for (const wchar_t* serial : {L"7CE6AB", L"7CE6AB0", L"CE6AB01", L"7CE6AB0100", L"007CE6AB01", L" 7CE6AB01",
                                  L"0x7CE6AB01", L"7C:E6:AB:01"})
        EXPECT_EQ(ExportUserCert(serial), "") << serial;
}

TEST_F(ExportUserCertTest, emptyOrNullSerial_givesTheEmptyText)
{
    EXPECT_EQ(ExportUserCert(L""), "");
    EXPECT_EQ(ExportUserCert(nullptr), "");
    EXPECT_EQ(FindCertDerBySerial(nullptr), "");
}

TEST(ExportUserCertLarge, certificateLongerThan4096Bytes_isExportedWhole)
{
    TestStoreCert large({{0x7C, 0xE6, 0xAB, 0x03}, L"CN=Export Large EQ7, O=Certops Test", L"",
                         CERT_DIGITAL_SIGNATURE_KEY_USAGE, true, 6000});
    ASSERT_GT(large.Der().size(), 4096u);
    EXPECT_EQ(Base64Decode(ExportUserCert(L"7CE6AB03")), large.Der());
}

} // namespace
