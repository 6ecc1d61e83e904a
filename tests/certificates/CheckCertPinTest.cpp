#include <gtest/gtest.h>

#include "CheckCertPin.h"
#include "TestStoreCert.h"

namespace {

TEST(CheckCertPin, emptyOrNullSerial_givesZero)
{
    EXPECT_EQ(CheckCertPin(L"", "1234"), 0);
    EXPECT_EQ(CheckCertPin(nullptr, "1234"), 0);
}

TEST(CheckCertPin, serialMatchingNoCertificate_givesZero)
{
    EXPECT_EQ(CheckCertPin(L"7CE8FFFFFF", "1234"), 0);
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
