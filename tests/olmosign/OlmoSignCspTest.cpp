// The stand-in OlmoSignCsp.dll through its exports, with real keys in Wine's
// RSA providers and certificates in the current user's "MY" store.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Handles.h"
#include "OlmoSignCsp.h"
#include "TestCert.h"
#include "WidenBytes.h"
#include "WinError.h"

namespace {

using namespace std::string_literals;

constexpr DWORD kEncoding = X509_ASN_ENCODING | PKCS_7_ASN_ENCODING;
constexpr wchar_t kAesProvider[] = L"Microsoft Enhanced RSA and AES Cryptographic Provider";
constexpr wchar_t kBaseProvider[] = L"Microsoft Base Cryptographic Provider v1.0";
constexpr unsigned char kGuard = 0xCC;

std::wstring Lower(std::wstring s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(towlower(c)); });
    return s;
}

const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::vector<unsigned char> Sign(const std::wstring& serial, const std::string& data, int bufferSize = 16384)
{
    std::vector<unsigned char> buffer(bufferSize);
    const int n = CSP_SignPKCS7ForSerialNum(serial.c_str(), Bytes(data), static_cast<int>(data.size()),
                                            buffer.data(), bufferSize);
    buffer.resize(n > 0 ? n : 0);
    return buffer;
}

int Verify(const std::string& data, const std::vector<unsigned char>& sign)
{
    return CSP_CSPVerifySignPKCS7(Bytes(data), static_cast<int>(data.size()), sign.data(),
                                  static_cast<int>(sign.size()));
}

struct DecodedMessage {
    std::string digestOid;
    std::string content;
    DWORD certCount = 0;
};

DecodedMessage Decode(const std::vector<unsigned char>& message)
{
    UniqueCryptMsg msg(CryptMsgOpenToDecode(kEncoding, 0, 0, 0, nullptr, nullptr));
    CheckWin32(static_cast<bool>(msg), "CryptMsgOpenToDecode");
    CheckWin32(CryptMsgUpdate(msg.get(), message.data(), static_cast<DWORD>(message.size()), TRUE) != FALSE,
               "CryptMsgUpdate");
    DecodedMessage decoded;
    DWORD size = 0;
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &size) != FALSE, "signer info");
    std::vector<unsigned char> signer(size);
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_SIGNER_INFO_PARAM, 0, signer.data(), &size) != FALSE, "signer info");
    decoded.digestOid = reinterpret_cast<const CMSG_SIGNER_INFO*>(signer.data())->HashAlgorithm.pszObjId;
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_CONTENT_PARAM, 0, nullptr, &size) != FALSE, "content");
    decoded.content.resize(size);
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_CONTENT_PARAM, 0, decoded.content.data(), &size) != FALSE, "content");
    decoded.content.resize(size);
    size = sizeof decoded.certCount;
    CheckWin32(CryptMsgGetParam(msg.get(), CMSG_CERT_COUNT_PARAM, 0, &decoded.certCount, &size) != FALSE, "certs");
    return decoded;
}

class OlmoSignCsp : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        aes_ = new TestCert(kAesProvider, PROV_RSA_AES, L"CN=OlmoSign AES User, O=Pelorin Test");
        base_ = new TestCert(kBaseProvider, PROV_RSA_FULL, L"CN=OlmoSign Base User, O=Pelorin Test");
    }
    static void TearDownTestSuite()
    {
        delete aes_;
        delete base_;
    }
    static TestCert* aes_;
    static TestCert* base_;
};
TestCert* OlmoSignCsp::aes_ = nullptr;
TestCert* OlmoSignCsp::base_ = nullptr;

TEST_F(OlmoSignCsp, getUserCert_writesTheDerOfTheSerial_anyLetterCase)
{
    for (const std::wstring& serial : {aes_->serial(), Lower(aes_->serial())}) {
        std::vector<unsigned char> buffer(16384, kGuard);
        const int n = CSP_GetUserCertBySerialNum(serial.c_str(), buffer.data(), 16384);
        ASSERT_EQ(n, static_cast<int>(aes_->der().size()));
        EXPECT_TRUE(std::equal(aes_->der().begin(), aes_->der().end(), buffer.begin()));
        EXPECT_EQ(buffer[n], kGuard);
    }
}

TEST_F(OlmoSignCsp, getUserCert_unknownOrEmptySerial_fails)
{
    std::vector<unsigned char> buffer(16384);
    EXPECT_EQ(CSP_GetUserCertBySerialNum(L"00DEADBEEF00", buffer.data(), 16384), 0);
    EXPECT_EQ(CSP_GetUserCertBySerialNum(L"", buffer.data(), 16384), 0);
    EXPECT_EQ(CSP_GetUserCertBySerialNum((aes_->serial() + L"00").c_str(), buffer.data(), 16384), 0);
}

TEST_F(OlmoSignCsp, getUserCert_bufferOneByteShort_failsWithoutWriting)
{
    const int exact = static_cast<int>(aes_->der().size());
    std::vector<unsigned char> buffer(exact + 16, kGuard);
    EXPECT_EQ(CSP_GetUserCertBySerialNum(aes_->serial().c_str(), buffer.data(), exact - 1), 0);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == kGuard; }));
    EXPECT_EQ(CSP_GetUserCertBySerialNum(aes_->serial().c_str(), buffer.data(), exact), exact);
}

TEST_F(OlmoSignCsp, sign_aesProvider_attachedSha256WithSignerCertificate)
{
    const std::string data = "pay 100 yuan \x00\xFF"s;
    const std::vector<unsigned char> message = Sign(aes_->serial(), data);
    ASSERT_FALSE(message.empty());
    const DecodedMessage decoded = Decode(message);
    EXPECT_EQ(decoded.digestOid, szOID_NIST_sha256);
    EXPECT_EQ(decoded.content, data);
    EXPECT_EQ(decoded.certCount, 1u);
    EXPECT_GT(Verify(data, message), 0);
}

TEST_F(OlmoSignCsp, sign_providerWithoutSha256_fallsBackToSha1)
{
    const std::string data = "base provider";
    const std::vector<unsigned char> message = Sign(base_->serial(), data);
    ASSERT_FALSE(message.empty());
    UniqueCryptProv probe;
    ASSERT_TRUE(CryptAcquireContextW(probe.put(), nullptr, kBaseProvider, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT));
    UniqueCryptHash hash;
    const bool baseHasSha256 = CryptCreateHash(probe.get(), CALG_SHA_256, 0, 0, hash.put()) != FALSE;
    EXPECT_EQ(Decode(message).digestOid, baseHasSha256 ? szOID_NIST_sha256 : szOID_OIWSEC_sha1);
    EXPECT_GT(Verify(data, message), 0);
}

TEST_F(OlmoSignCsp, sign_emptyData_roundTrips)
{
    const std::vector<unsigned char> message = Sign(aes_->serial(), "");
    ASSERT_FALSE(message.empty());
    EXPECT_GT(Verify("", message), 0);
    EXPECT_EQ(Verify("x", message), 0);
}

TEST_F(OlmoSignCsp, sign_unknownSerial_fails)
{
    EXPECT_TRUE(Sign(L"00DEADBEEF00", "data").empty());
}

TEST_F(OlmoSignCsp, sign_bufferOneByteShort_failsWithoutWriting)
{
    const std::string data = "bounded";
    const int exact = static_cast<int>(Sign(aes_->serial(), data).size());
    ASSERT_GT(exact, 0);
    std::vector<unsigned char> buffer(exact + 16, kGuard);
    EXPECT_EQ(CSP_SignPKCS7ForSerialNum(aes_->serial().c_str(), Bytes(data), static_cast<int>(data.size()),
                                        buffer.data(), exact - 1),
              0);
    EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == kGuard; }));
}

TEST_F(OlmoSignCsp, verify_otherDataOrTamperedMessage_fails)
{
    const std::string data = "original";
    std::vector<unsigned char> message = Sign(aes_->serial(), data);
    ASSERT_GT(Verify(data, message), 0);
    EXPECT_EQ(Verify("originaL", message), 0);
    EXPECT_EQ(Verify("original ", message), 0);
    std::vector<unsigned char> tampered = message;
    tampered[tampered.size() - 10] ^= 0x01; // inside the signature value
    EXPECT_EQ(Verify(data, tampered), 0);
    std::vector<unsigned char> truncated(message.begin(), message.end() - 1);
    EXPECT_EQ(Verify(data, truncated), 0);
}

TEST_F(OlmoSignCsp, verify_emptyOrGarbage_fails)
{
    EXPECT_EQ(CSP_CSPVerifySignPKCS7(Bytes("x"), 1, nullptr, 0), 0);
    const std::vector<unsigned char> garbage = {0x30, 0x03, 0x02, 0x01, 0x01};
    EXPECT_EQ(Verify("x", garbage), 0);
    EXPECT_EQ(Verify("x", aes_->der()), 0);
}

TEST_F(OlmoSignCsp, verifyPin_providerWithoutPins_orUnknownSerial_fails)
{
    // Wine's RSA providers take no signature PIN.
    EXPECT_EQ(CSP_VerifyCertPin(aes_->serial().c_str(), L"1234"), 0);
    EXPECT_EQ(CSP_VerifyCertPin(L"00DEADBEEF00", L"1234"), 0);
}

TEST_F(OlmoSignCsp, widenedNonAsciiSerial_matchesNothing)
{
    std::vector<unsigned char> buffer(16384);
    const std::wstring widened = WidenBytes("\xC3\xA9" + std::string("01"));
    EXPECT_EQ(CSP_GetUserCertBySerialNum(widened.c_str(), buffer.data(), 16384), 0);
}

} // namespace
