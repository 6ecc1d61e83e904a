// The certificate methods through the real control, created by ProgID and
// called by name as a script calls them.
#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <memory>
#include <string>

#include "Base64.h"
#include "ControlEnvironment.h"
#include "TestStoreCert.h"
#include "TokenCert.h"
#include "WevraClient.h"

namespace {

const auto* const environment = testing::AddGlobalTestEnvironment(new ControlEnvironment);

std::wstring WideBase64(const std::string& bytes) { return Widen(Base64Encode(bytes)); }

class CertMethodsComTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        certs_ = new std::vector<std::unique_ptr<TestStoreCert>>;
        auto add = [](TestCertSpec spec) { certs_->push_back(std::make_unique<TestStoreCert>(std::move(spec))); };
        add({{0x7C, 0xEA, 0x01}, L"CN=Com Alice PairCQ7, O=Certops Test"});
        add({{0x7C, 0xEA, 0x02}, L"CN=Com Bob PairCQ7, O=Certops Test"});
        add({{0x7C, 0xEA, 0x03}, L"CN=Com Leaf CQ7, O=Certops Test", L"CN=Com Issuer XQ7, O=Certops Test"});
        add({{0x7C, 0xEA, 0x04}, L"CN=Com Unsigning CQ7, O=Certops Test", L"", CERT_NON_REPUDIATION_KEY_USAGE});
        add({{0x7C, 0xEA, 0x05}, L"CN=Com Unmarked CQ7, O=Certops Test", L"", std::nullopt});
        add({{0x00, 0x8C, 0xEA, 0x06}, L"CN=Com Zero Lead ZQ7, O=Certops Test"});
        add({{0x7C, 0xEA, 0x07}, L"CN=Com Keyless KQ7, O=Certops Test", L"", CERT_DIGITAL_SIGNATURE_KEY_USAGE, false});
    }
    static void TearDownTestSuite()
    {
        delete certs_;
        certs_ = nullptr;
    }
    static const TestStoreCert& Cert(size_t i) { return *(*certs_)[i]; }
    static std::wstring Serial(size_t i) { return Cert(i).SerialText(); }

    static std::vector<std::wstring> InStoreOrder(std::initializer_list<std::wstring> wanted)
    {
        std::vector<std::wstring> ordered;
        for (const std::wstring& s : StoreOrder())
            if (std::find(wanted.begin(), wanted.end(), s) != wanted.end()) ordered.push_back(s);
        return ordered;
    }

    CallResult Select(const wchar_t* filter, short mode)
    {
        return client_.Call(L"SelectCert", {Arg::Text(filter), Arg::Short(mode), Arg::Long(0)});
    }
    CallResult Export(const wchar_t* serial, long flag = 0)
    {
        return client_.Call(L"ExportUserCert", {Arg::Text(serial), Arg::Long(flag)});
    }
    CallResult Sign(const wchar_t* serial, long type, const std::wstring& original)
    {
        return client_.Call(L"SignData", {Arg::Text(serial), Arg::Long(type), Arg::Text(original.c_str())});
    }
    CallResult Verify(long type, const std::wstring& original, const std::wstring& message)
    {
        return client_.Call(L"VerifySignData", {Arg::Text(L"not read"), Arg::Long(type), Arg::Text(original.c_str()),
                                                 Arg::Text(message.c_str())});
    }

    WevraClient client_;

private:
    static std::vector<std::unique_ptr<TestStoreCert>>* certs_;
};
std::vector<std::unique_ptr<TestStoreCert>>* CertMethodsComTest::certs_ = nullptr;

void ExpectText(const CallResult& result, const std::wstring& expected)
{
    EXPECT_EQ(result.hr, S_OK);
    EXPECT_EQ(result.type, VT_BSTR);
    EXPECT_FALSE(result.nullText);
    EXPECT_EQ(result.text, expected);
}

void ExpectNumber(const CallResult& result, long expected)
{
    EXPECT_EQ(result.hr, S_OK);
    EXPECT_EQ(result.type, VT_I4);
    EXPECT_EQ(result.number, expected);
}

TEST_F(CertMethodsComTest, selectCert_nullEmptyAndStarFilters_listEverySigningCertificateOnly)
{
    for (const wchar_t* filter : {static_cast<const wchar_t*>(nullptr), L"", L"*"}) {
        const CallResult list = Select(filter, 2);
        EXPECT_EQ(list.hr, S_OK);
        for (size_t signing : {0u, 1u, 2u, 5u, 6u}) EXPECT_NE(list.text.find(L"||" + Serial(signing)), std::wstring::npos);
        for (size_t other : {3u, 4u}) EXPECT_EQ(list.text.find(L"||" + Serial(other)), std::wstring::npos);
    }
}

TEST_F(CertMethodsComTest, selectCert_matchesWithoutRegardToCaseAndLeavesTheCallersTextAlone)
{
    UniqueBstr filter(SysAllocString(L"com alice paircq7"));
    std::vector<VARIANT> args(3);
    for (VARIANT& v : args) VariantInit(&v);
    args[0].vt = VT_BSTR;
    args[0].bstrVal = filter.get();
    args[1].vt = VT_I2;
    args[1].iVal = 0;
    args[2].vt = VT_I4;
    args[2].lVal = 0;
    ExpectText(client_.CallWith(L"SelectCert", args), Serial(0));
    EXPECT_STREQ(filter.get(), L"com alice paircq7");
}

TEST_F(CertMethodsComTest, selectCert_listsTwoMatchesInStoreOrder)
{
    const std::vector<std::wstring> order = InStoreOrder({Serial(0), Serial(1)});
    ASSERT_EQ(order.size(), 2u);
    auto entry = [&](const std::wstring& s) {
        return std::wstring(s == Serial(0) ? L"Com Alice PairCQ7" : L"Com Bob PairCQ7") + L"||" + s;
    };
    ExpectText(Select(L"paircq7", 2), entry(order[0]) + L"&&&" + entry(order[1]));
}

TEST_F(CertMethodsComTest, selectCert_issuerMatchIsListedWithTheIssuersName)
{
    ExpectText(Select(L"issuer xq7", 2), L"Com Issuer XQ7||" + Serial(2));
}

TEST_F(CertMethodsComTest, selectCert_certificatesThatCannotSign_areNeverReturned)
{
    for (short mode : {0, 1, 2}) {
        ExpectText(Select(L"com unsigning cq7", mode), L"");
        ExpectText(Select(L"com unmarked cq7", mode), L"");
    }
}

TEST_F(CertMethodsComTest, selectCert_firstModeTakesTheFirstInStoreOrder_askingModeTakesTheOnlyMatch)
{
    ExpectText(Select(L"paircq7", 1), InStoreOrder({Serial(0), Serial(1)}).front());
    ExpectText(Select(L"com alice paircq7", 0), Serial(0));
    ExpectText(Select(L"issuer xq7", 0), Serial(2));
}

TEST_F(CertMethodsComTest, selectCert_noMatchGivesAnAllocatedEmptyText)
{
    for (short mode : {0, 1, 2}) ExpectText(Select(L"nothing matches this cq7", mode), L"");
}

TEST_F(CertMethodsComTest, selectCert_serialWithALeadingZeroByteKeepsIt)
{
    ExpectText(Select(L"zero lead zq7", 0), L"008CEA06");
}

TEST_F(CertMethodsComTest, exportUserCert_lowerCaseSerialGivesTheWholeDerWhateverTheFlag)
{
    for (long flag : {0L, 1L, 77L}) {
        const CallResult exported = Export(L"7cea01", flag);
        ExpectText(exported, WideBase64(Cert(0).Der()));
    }
    ExpectText(Export(L"008cea06"), WideBase64(Cert(5).Der()));
    ExpectText(Export(L"7CEA05"), WideBase64(Cert(4).Der()));
}

TEST_F(CertMethodsComTest, exportUserCert_prefixEmptyAndNullSerialsFindNothing)
{
    for (const wchar_t* serial : {L"7CEA0", L"7CEA", L"8CEA06", L"", static_cast<const wchar_t*>(nullptr)})
        ExpectText(Export(serial), L"");
}

TEST_F(CertMethodsComTest, signAndVerify_roundTripAndMendedComparison)
{
    const std::wstring data = WideBase64(Bytes("abc\0X", 5));
    const CallResult signedText = Sign(L"7cea01", 1, data);
    EXPECT_EQ(signedText.hr, S_OK);
    ASSERT_FALSE(signedText.text.empty());
    ExpectNumber(Verify(1, data, signedText.text), 1);
    ExpectNumber(Verify(1, WideBase64(Bytes("abc\0Y", 5)), signedText.text), 0);
    ExpectNumber(Verify(2, data, signedText.text), 0);
    ExpectText(Sign(L"7CEA01", 0, data), L"");
}

TEST_F(CertMethodsComTest, verifySignData_detachedMessageGivesZero)
{
    const std::string data = "detached through the control";
    const std::string message = SignDetached(Cert(0), data);
    ExpectNumber(Verify(1, WideBase64(data), WideBase64(message)), 0);
}

TEST_F(CertMethodsComTest, signData_withoutAUsableKeyOrSerial_givesEmptyText)
{
    const std::wstring data = WideBase64("abc");
    for (const wchar_t* serial : {L"7CEA07", L"7CEA0", L"", static_cast<const wchar_t*>(nullptr)})
        ExpectText(Sign(serial, 1, data), L"");
}

TEST_F(CertMethodsComTest, signData_nullDataIsSignedAsEmptyContentWhichNeverVerifies)
{
    const CallResult signedText = client_.Call(L"SignData", {Arg::Text(L"7CEA01"), Arg::Long(1), Arg::Text(nullptr)});
    EXPECT_EQ(signedText.hr, S_OK);
    ASSERT_FALSE(signedText.text.empty());
    ExpectNumber(client_.Call(L"VerifySignData", {Arg::Text(nullptr), Arg::Long(1), Arg::Text(nullptr),
                                                   Arg::Text(signedText.text.c_str())}),
                 0);
    ExpectNumber(client_.Call(L"VerifySignData", {Arg::Text(nullptr), Arg::Long(1), Arg::Text(nullptr), Arg::Text(nullptr)}), 0);
}

TEST_F(CertMethodsComTest, verifyCertPin_failuresGiveZeroWithSOk)
{
    for (const wchar_t* serial : {L"", static_cast<const wchar_t*>(nullptr), L"7CEA07", L"7CEAFF"})
        ExpectNumber(client_.Call(L"VerifyCertPin", {Arg::Text(serial), Arg::Text(L"1234")}), 0);
}

TEST_F(CertMethodsComTest, verifyCertPin_rightPinThroughTheTokensProviderGivesOne)
{
    TokenCert token({0x7C, 0xEA, 0xAB, 0x08}, "8642");
    UniqueBstr serial(SysAllocString(L"7ceaab08"));
    std::vector<VARIANT> args(2);
    for (VARIANT& v : args) VariantInit(&v);
    args[0].vt = VT_BSTR;
    args[0].bstrVal = serial.get();
    args[1].vt = VT_BSTR;
    args[1].bstrVal = SysAllocString(L"8642");
    ExpectNumber(client_.CallWith(L"VerifyCertPin", args), 1);
    EXPECT_STREQ(serial.get(), L"7ceaab08");
    VariantClear(&args[1]);
    for (const wchar_t* wrong : {L"1234", L"", static_cast<const wchar_t*>(nullptr)})
        ExpectNumber(client_.Call(L"VerifyCertPin", {Arg::Text(L"7CEAAB08"), Arg::Text(wrong)}), 0);
}

} // namespace
