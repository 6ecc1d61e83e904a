#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "Base64.h"
#include "Handles.h"
#include "SignBySerial.h"
#include "SignData.h"
#include "TestStoreCert.h"
#include "VerifyAttachedMessage.h"
#include "VerifySignData.h"

namespace {

class SignDataTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        signer_ = new TestStoreCert({{0x7C, 0xE7, 0x5A, 0x01}, L"CN=Signer GQ7, O=Certops Test"});
        keyless_ = new TestStoreCert({{0x7C, 0xE7, 0x5A, 0x02}, L"CN=Keyless GQ7, O=Certops Test", L"",
                                      CERT_DIGITAL_SIGNATURE_KEY_USAGE, false});
    }
    static void TearDownTestSuite()
    {
        delete signer_;
        delete keyless_;
    }
    static std::string Sign(const std::string& data) { return SignData(L"7ce75a01", 1, Base64Encode(data)); }
    static long Verify(const std::string& data, const std::string& signedText)
    {
        return VerifySignData(1, Base64Encode(data), signedText);
    }

    static TestStoreCert* signer_;
    static TestStoreCert* keyless_;
};
TestStoreCert* SignDataTest::signer_ = nullptr;
TestStoreCert* SignDataTest::keyless_ = nullptr;

std::string MsgParam(HCRYPTMSG msg, DWORD param, DWORD index = 0)
{
    DWORD size = 0;
    if (!CryptMsgGetParam(msg, param, index, nullptr, &size)) return std::string();
    std::string value(size, '\0');
    if (!CryptMsgGetParam(msg, param, index, value.data(), &size)) return std::string();
    value.resize(size);
    return value;
}

TEST_F(SignDataTest, signedMessage_verifiesForTheSameData)
{
    const std::string data = "payload for the round trip";
    const std::string signedText = Sign(data);
    ASSERT_FALSE(signedText.empty());
    EXPECT_EQ(signedText.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(Verify(data, signedText), 1);
}

TEST_F(SignDataTest, message_isAttachedSha1SignedDataCarryingTheSignersCertificate)
{
    const std::string message = Base64Decode(Sign("abc"));
    UniqueCryptMsg msg(CryptMsgOpenToDecode(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0, 0, 0, nullptr, nullptr));
    ASSERT_TRUE(msg);
    ASSERT_TRUE(CryptMsgUpdate(msg.get(), reinterpret_cast<const BYTE*>(message.data()),
                               static_cast<DWORD>(message.size()), TRUE));
    const std::string type = MsgParam(msg.get(), CMSG_TYPE_PARAM);
    ASSERT_EQ(type.size(), sizeof(DWORD));
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(type.data()), static_cast<DWORD>(CMSG_SIGNED));
    EXPECT_EQ(MsgParam(msg.get(), CMSG_CONTENT_PARAM), "abc");
    EXPECT_EQ(MsgParam(msg.get(), CMSG_CERT_PARAM, 0), signer_->Der());
    const std::string certCount = MsgParam(msg.get(), CMSG_CERT_COUNT_PARAM);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(certCount.data()), 1u);
    const std::string signerInfo = MsgParam(msg.get(), CMSG_SIGNER_INFO_PARAM);
    ASSERT_FALSE(signerInfo.empty());
    const auto* info = reinterpret_cast<const CMSG_SIGNER_INFO*>(signerInfo.data());
    EXPECT_STREQ(info->HashAlgorithm.pszObjId, "1.3.14.3.2.26");
    EXPECT_EQ(info->AuthAttrs.cAttr, 0u);
}

TEST_F(SignDataTest, signTypeOtherThanOne_signsAndVerifiesNothing)
{
    const std::string data = Base64Encode(std::string("abc"));
    const std::string signedText = Sign("abc");
    for (long type : {0L, 2L, -1L}) {
        EXPECT_EQ(SignData(L"7CE75A01", type, data), "") << type;
        EXPECT_EQ(VerifySignData(type, data, signedText), 0) << type;
    }
}

TEST_F(SignDataTest, changedData_failsVerification)
{
    const std::string signedText = Sign("the data as signed");
    EXPECT_EQ(Verify("the data as signeD", signedText), 0);
    EXPECT_EQ(Verify("the data as signed ", signedText), 0);
    EXPECT_EQ(Verify("", signedText), 0);
}

TEST_F(SignDataTest, dataWithAZeroByte_isComparedWhole)
{
    const std::string data = Bytes("abc\0X", 5);
    const std::string signedText = Sign(data);
    EXPECT_EQ(Verify(data, signedText), 1);
    EXPECT_EQ(Verify(Bytes("abc\0Y", 5), signedText), 0);
    EXPECT_EQ(Verify(Bytes("abc\0", 4), signedText), 0);
    EXPECT_EQ(Verify("abc", signedText), 0);
    EXPECT_EQ(Verify(Bytes("abc\0XZ", 6), signedText), 0);
}

TEST_F(SignDataTest, tamperedMessage_failsVerification)
{
    const std::string data = "abcdef";
    std::string message = Base64Decode(Sign(data));
    const size_t at = message.find("abcdef");
    ASSERT_NE(at, std::string::npos);
    message[at] = 'X';
    EXPECT_EQ(VerifyAttachedMessage("Xbcdef", message), 0);
}

TEST_F(SignDataTest, detachedMessage_givesZero)
{
    const std::string data = "detached data";
    const std::string message = SignDetached(*signer_, data);
    ASSERT_FALSE(message.empty());
    EXPECT_EQ(Verify(data, Base64Encode(message)), 0);
}

TEST_F(SignDataTest, emptyData_isSignedButNeverVerifies)
{
    for (const char* original : {"", "!!!"}) {
        const std::string signedText = SignData(L"7CE75A01", 1, original);
        ASSERT_FALSE(signedText.empty()) << original;
        EXPECT_EQ(VerifySignData(1, original, signedText), 0) << original;
        EXPECT_EQ(VerifySignData(1, "", signedText), 0) << original;
    }
}

TEST_F(SignDataTest, plainTextData_isSignedAsWhatItsBase64PrefixDecodesTo)
{
    const std::string signedText = SignData(L"7CE75A01", 1, "QUJD!tail");
    EXPECT_EQ(Verify("ABC", signedText), 1);
}

TEST_F(SignDataTest, messageLongerThan8192Bytes_isReturnedWholeAndVerifies)
{
    std::string data(20000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    const std::string signedText = Sign(data);
    ASSERT_GT(Base64Decode(signedText).size(), 8192u);
    EXPECT_EQ(Verify(data, signedText), 1);
}

TEST_F(SignDataTest, serialsThatFindNoUsableKey_signNothing)
{
    const std::string data = Base64Encode(std::string("abc"));
    for (const wchar_t* serial : {L"", L"7CE75A", L"0x7CE75A01", L"7CE75A02", L"00007CE75A01"})
        EXPECT_EQ(SignData(serial, 1, data), "") << serial;
    EXPECT_EQ(SignData(nullptr, 1, data), "");
    EXPECT_EQ(SignBySerial(nullptr, "abc"), "");
}

TEST_F(SignDataTest, messagesThatAreNotSignedData_giveZero)
{
    for (const char* message : {"", "not base64 at all", "QUJDREVG", "MIIB"})
        EXPECT_EQ(VerifySignData(1, Base64Encode(std::string("ABCDEF")), message), 0) << message;
}

} // namespace
