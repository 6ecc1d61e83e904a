#include <gtest/gtest.h>

#include <string>

#include "CheckCertPin.h"
#include "TestStoreCert.h"
#include "TokenCert.h"

namespace {

TEST(CheckCertPin, rightPinForATokenKey_givesOne_otherPinsZero)
{
    TokenCert token({0x7C, 0xE8, 0xAB, 0x03}, "2468");
    EXPECT_EQ(CheckCertPin(L"7ce8ab03", "2468"), 1);
    EXPECT_EQ(CheckCertPin(L"7CE8AB03", "2468"), 1);
    for (const char* wrong : {"1234", "24680", "246", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(CheckCertPin(L"7CE8AB03", wrong), 0) << (wrong ? wrong : "(null)");
}

TEST(CheckCertPin, emptyOrNullSerial_givesZero)
{
    EXPECT_EQ(CheckCertPin(L"", "1234"), 0);
    EXPECT_EQ(CheckCertPin(nullptr, "1234"), 0);
}

TEST(CheckCertPin, serialMatchingNoCertificate_givesZero)
{
    TokenCert token({0x7C, 0xE8, 0xAB, 0x04}, "1234");
    for (const wchar_t* serial : {L"7CE8FFFFFF", L"7CE8AB0", L"007CE8AB04", L"7CE8AB04 "})
        EXPECT_EQ(CheckCertPin(serial, "1234"), 0) << serial;
}

TEST(CheckCertPin, certificateWithoutPrivateKey_givesZeroForAnyPin)
{
    TestStoreCert keyless({{0x7C, 0xE8, 0x01}, L"CN=Keyless PQ7, O=Certops Test", L"",
                           CERT_DIGITAL_SIGNATURE_KEY_USAGE, false});
    for (const char* pin : {"1234", "", static_cast<const char*>(nullptr)}) EXPECT_EQ(CheckCertPin(L"7ce801", pin), 0);
}

TEST(CheckCertPin, providerThatTakesNoSignaturePin_givesZero)
{
    // The default software provider has no PIN to check and refuses the parameter.
    TestStoreCert soft({{0x7C, 0xE8, 0x02}, L"CN=Soft Key PQ7, O=Certops Test"});
    EXPECT_EQ(CheckCertPin(L"7CE802", "1234"), 0);
}

} // namespace
