#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include <json/reader.h>

#include "CommandTable.h"
#include "FakePlatform.h"
#include "HostBytes.h"
#include "ResponseWriter.h"

namespace {

using namespace std::string_literals;

// The response text the host writes for a request, through the command table.
std::string Answer(const std::string& requestJson, FakePlatform& platform)
{
    Json::Reader reader;
    Json::Value request;
    if (!reader.parse(requestJson, request)) throw std::runtime_error("bad test request " + requestJson);
    Json::Value response;
    HandleCommand(request.get("cmd", "").asString(), request, response, platform);
    return SerializeResponse(response);
}

std::string ErrorAnswer(int code, const std::string& gbk)
{
    return "{\"errCode\":" + std::to_string(code) + ",\"errMsg\":\"" + gbk + "\",\"errShow\":1}\n";
}

const std::string kMsg2002 = "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xD0\xF2\xC1\xD0\xBA\xC5\xCA\xA7\xB0\xDC";
const std::string kMsg2003 = "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xD0\xC5\xCF\xA2\xCA\xA7\xB0\xDC";
const std::string kMsg2004 = "\xCA\xFD\xBE\xDD\xC7\xA9\xC3\xFB\xCA\xA7\xB0\xDC";
const std::string kMsg2005 = "\xCA\xFD\xBE\xDD\xC7\xA9\xC3\xFB\xD1\xE9\xD6\xA4\xB3\xF6\xB4\xED";
const std::string kMsg2006 = "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xCF\xEE\xB4\xED\xCE\xF3";
const std::string kMsg2007 = "PIN\xB4\xED\xCE\xF3";
const std::string kMsg10001 = "\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4\xB9\xA6\xC4\xDC";

struct FailureCase {
    const char* name;
    const char* request;
    std::function<void(FakePlatform&)> arrange;
    std::string answer;
};

class CommandFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(CommandFailureTest, answersTheCommandsCodeAndGbkMessage)
{
    FakePlatform platform;
    GetParam().arrange(platform);
    EXPECT_EQ(Hex(Answer(GetParam().request, platform)), Hex(GetParam().answer));
}

void Nothing(FakePlatform&) {}

INSTANTIATE_TEST_SUITE_P(Codes, CommandFailureTest,
    testing::Values(
        FailureCase{"getCertSerial_noChoice_2002", R"({"cmd":"getCertSerial"})",
                    [](FakePlatform& p) { p.selectResult = 0; }, ErrorAnswer(2002, kMsg2002)},
        FailureCase{"s_noChoice_2002", R"({"cmd":"s"})", [](FakePlatform& p) { p.selectResult = 0; },
                    ErrorAnswer(2002, kMsg2002)},
        FailureCase{"getCertSerial_choiceWithEmptySerial_2002", R"({"cmd":"getCertSerial"})", Nothing,
                    ErrorAnswer(2002, kMsg2002)},
        FailureCase{"getCertSerial_unitAboveFF_2002", R"({"cmd":"getCertSerial"})",
                    [](FakePlatform& p) { p.selectWrites = L"0A\x0100"; }, ErrorAnswer(2002, kMsg2002)},
        FailureCase{"getCertSerial_128UnitsNoRoom_2002", R"({"cmd":"getCertSerial"})",
                    [](FakePlatform& p) { p.selectWrites = std::wstring(128, L'A'); }, ErrorAnswer(2002, kMsg2002)},
        FailureCase{"getCertSerial_issuerNotText_2002", R"({"cmd":"getCertSerial","issuer":1})",
                    [](FakePlatform& p) { p.selectWrites = L"01"; }, ErrorAnswer(2002, kMsg2002)},
        FailureCase{"getCertBase64_zero_2003", R"({"cmd":"getCertBase64","certSerial":"01"})", Nothing,
                    ErrorAnswer(2003, kMsg2003)},
        FailureCase{"getCertBase64_negative_2003", R"({"cmd":"getCertBase64","certSerial":"01"})",
                    [](FakePlatform& p) { p.certResult = -1; }, ErrorAnswer(2003, kMsg2003)},
        FailureCase{"getCertBase64_lengthBeyondBuffer_2003", R"({"cmd":"getCertBase64","certSerial":"01"})",
                    [](FakePlatform& p) { p.certResult = 16385; }, ErrorAnswer(2003, kMsg2003)},
        FailureCase{"getCertBase64_serialNotText_2003", R"({"cmd":"getCertBase64","certSerial":[1]})",
                    [](FakePlatform& p) { p.certResult = 1; }, ErrorAnswer(2003, kMsg2003)},
        FailureCase{"signData_zero_2004", R"({"cmd":"signData","certSerial":"01","data":"d"})", Nothing,
                    ErrorAnswer(2004, kMsg2004)},
        FailureCase{"signData_dataNotText_2004", R"({"cmd":"signData","certSerial":"01","data":{}})",
                    [](FakePlatform& p) { p.signResult = 1; }, ErrorAnswer(2004, kMsg2004)},
        FailureCase{"signVerify_zero_2005", R"({"cmd":"signVerify","data":"d","sign":"AA=="})", Nothing,
                    ErrorAnswer(2005, kMsg2005)},
        FailureCase{"signVerify_negative_2005", R"({"cmd":"signVerify","data":"d","sign":"AA=="})",
                    [](FakePlatform& p) { p.verifyResult = -5; }, ErrorAnswer(2005, kMsg2005)},
        FailureCase{"getCertinfo_emptyInfo_2006", R"({"cmd":"getCertinfo","certBase64":"MII","index":2})", Nothing,
                    ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_queryThrows_2006", R"({"cmd":"getCertinfo","certBase64":"MII","index":2})",
                    [](FakePlatform& p) { p.certInfoThrows = true; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_indexString_2006", R"({"cmd":"getCertinfo","certBase64":"MII","index":"2"})",
                    [](FakePlatform& p) { p.certInfo = "x"; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_indexArray_2006", R"({"cmd":"getCertinfo","certBase64":"MII","index":[2]})",
                    [](FakePlatform& p) { p.certInfo = "x"; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_indexObject_2006", R"({"cmd":"getCertinfo","certBase64":"MII","index":{}})",
                    [](FakePlatform& p) { p.certInfo = "x"; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_indexOutOfRange_2006",
                    R"({"cmd":"getCertinfo","certBase64":"MII","index":4294967298})",
                    [](FakePlatform& p) { p.certInfo = "x"; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"getCertinfo_certNumber_2006", R"({"cmd":"getCertinfo","certBase64":5,"index":2})",
                    [](FakePlatform& p) { p.certInfo = "x"; }, ErrorAnswer(2006, kMsg2006)},
        FailureCase{"checkPin_zero_2007", R"({"cmd":"checkPin","certSerial":"01","pin":"1"})", Nothing,
                    ErrorAnswer(2007, kMsg2007)},
        FailureCase{"checkPin_pinNumber_2007", R"({"cmd":"checkPin","certSerial":"01","pin":1234})",
                    [](FakePlatform& p) { p.pinResult = 1; }, ErrorAnswer(2007, kMsg2007)},
        FailureCase{"unknown_10001", R"({"cmd":"deleteAll"})", Nothing, ErrorAnswer(10001, kMsg10001)},
        FailureCase{"empty_10001", R"({"cmd":""})", Nothing, ErrorAnswer(10001, kMsg10001)},
        FailureCase{"letterCase_10001", R"({"cmd":"SIGNDATA"})", Nothing, ErrorAnswer(10001, kMsg10001)},
        FailureCase{"trailingSpace_10001", R"({"cmd":"qq "})", Nothing, ErrorAnswer(10001, kMsg10001)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetCertSerial, widensIssuer_ownsDialogByDesktop_answersSerialBeforeErrCode)
{
    FakePlatform platform;
    platform.selectWrites = L"0A1B";
    EXPECT_EQ(Answer(R"({"cmd":"getCertSerial","issuer":"CA \u4e2d"})", platform),
              "{\"certSerial\":\"0A1B\",\"errCode\":0}\n");
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"PrepareDialogOwner", "SelectCertForIssuerDialog"}));
    EXPECT_EQ(platform.ownerSeen, FakePlatform::kDesktop);
    EXPECT_EQ(platform.issuerSeen, (std::wstring{L'C', L'A', L' ', wchar_t(0xFFE4), wchar_t(0xFFB8), wchar_t(0xFFAD)}));
    EXPECT_EQ(platform.serialUnitsSeen, 128);
}

TEST(GetCertSerial, sWithEmptyIssuer_sameAsGetCertSerialWithout)
{
    FakePlatform a, b;
    a.selectWrites = b.selectWrites = L"01";
    EXPECT_EQ(Answer(R"({"cmd":"s","issuer":""})", a), Answer(R"({"cmd":"getCertSerial"})", b));
    EXPECT_EQ(a.issuerSeen, L"");
    EXPECT_EQ(b.issuerSeen, L"");
}

TEST(GetCertSerial, unitsUpToFF_becomeBytes_127UnitsFit)
{
    FakePlatform platform;
    platform.selectWrites = std::wstring(126, L'7') + wchar_t(0xFF);
    EXPECT_EQ(Answer(R"({"cmd":"getCertSerial"})", platform),
              "{\"certSerial\":\"" + std::string(126, '7') + "\xFF\",\"errCode\":0}\n");
}

TEST(GetCertBase64, encodesTheBytesTheLibraryCounted)
{
    FakePlatform platform;
    platform.certBytes = "\x30\x82\0\x01zzzz"s;
    platform.certResult = 4;
    EXPECT_EQ(Answer(R"({"cmd":"getCertBase64","certSerial":"00FF"})", platform),
              "{\"certBase64\":\"MIIAAQ==\",\"errCode\":0}\n");
    EXPECT_EQ(platform.serialSeen, L"00FF");
    EXPECT_EQ(platform.bufferSizeSeen, 16384);
}

TEST(SignData, passesDataBytes_answersBase64Signature)
{
    FakePlatform platform;
    platform.signBytes = "\x30\x80\x01"s;
    platform.signResult = 3;
    EXPECT_EQ(Answer(R"({"cmd":"signData","certSerial":"01","data":"h\u00e9"})", platform),
              "{\"errCode\":0,\"sign\":\"MIAB\"}\n");
    EXPECT_EQ(platform.dataSeen, "h\xC3\xA9");
    EXPECT_EQ(platform.serialSeen, L"01");
    EXPECT_EQ(platform.bufferSizeSeen, 16384);
}

TEST(SignData, missingData_stillCallsLibraryWithNoBytes)
{
    FakePlatform platform;
    platform.signResult = 0;
    EXPECT_EQ(Answer(R"({"cmd":"signData","certSerial":"01"})", platform), ErrorAnswer(2004, kMsg2004));
    EXPECT_EQ(platform.calls, std::vector<std::string>{"SignPKCS7ForSerialNum"});
    EXPECT_EQ(platform.dataSeen, "");
}

TEST(SignVerify, decodesSignature_andPassesData)
{
    FakePlatform platform;
    platform.verifyResult = 1;
    EXPECT_EQ(Answer(R"({"cmd":"signVerify","data":"abc","sign":"MIAB"})", platform), "{\"errCode\":0}\n");
    EXPECT_EQ(platform.dataSeen, "abc");
    EXPECT_EQ(platform.signSeen, "\x30\x80\x01");
}

TEST(SignVerify, missingSign_stillCallsLibraryWithNoBytes)
{
    FakePlatform platform;
    platform.verifyResult = 1;
    EXPECT_EQ(Answer(R"({"cmd":"signVerify","data":"abc"})", platform), "{\"errCode\":0}\n");
    EXPECT_EQ(platform.signSeen, "");
}

TEST(GetCertinfo, passesTextAndIndex_answersInfo)
{
    FakePlatform platform;
    platform.certInfo = "RSA";
    EXPECT_EQ(Answer(R"({"cmd":"getCertinfo","certBase64":"MIIB","index":3.7})", platform),
              "{\"errCode\":0,\"info\":\"RSA\"}\n");
    EXPECT_EQ(platform.certTextSeen, "MIIB");
    EXPECT_EQ(platform.infoTypeSeen, 3);
}

TEST(CheckPin, emptyPin_reachesLibraryAsEmptyText)
{
    FakePlatform platform;
    platform.pinResult = 1;
    EXPECT_EQ(Answer(R"({"cmd":"checkPin","certSerial":"0A","pin":""})", platform), "{\"errCode\":0}\n");
    EXPECT_EQ(platform.serialSeen, L"0A");
    EXPECT_EQ(platform.pinSeen, L"");
}

TEST(CheckPin, nonAsciiPin_widenedByteByByte)
{
    FakePlatform platform;
    platform.pinResult = 7;
    EXPECT_EQ(Answer(R"({"cmd":"checkPin","certSerial":"0A","pin":"\u00e9"})", platform), "{\"errCode\":0}\n");
    EXPECT_EQ(platform.pinSeen, (std::wstring{wchar_t(0xFFC3), wchar_t(0xFFA9)}));
}

TEST(InfoCommands, ignoreOtherMembers_callNothing)
{
    FakePlatform platform;
    EXPECT_EQ(Answer(R"({"cmd":"getVerinfo","ver":"9","errCode":5,"data":[1]})", platform),
              "{\"errCode\":0,\"ver\":\"1.0.0\"}\n");
    EXPECT_EQ(Answer(R"({"cmd":"importCertIssue","certBase64":{}})", platform), "{\"errCode\":0}\n");
    EXPECT_TRUE(platform.calls.empty());
}

TEST(Qq, showsTheDialogsSerialInAMessageBox_answersNull)
{
    FakePlatform platform;
    platform.selectWrites = L"ABCD";
    EXPECT_EQ(Answer(R"({"cmd":"qq","issuer":"ignored"})", platform), "null\n");
    EXPECT_EQ(platform.calls,
              (std::vector<std::string>{"PrepareDialogOwner", "SelectCertForIssuerDialog", "ShowMessage"}));
    EXPECT_EQ(platform.issuerSeen, L"");
    EXPECT_EQ(platform.messageText, L"ABCD");
    EXPECT_EQ(platform.messageCaption, L"\u6211\u6536\u5230\u6D88\u606F\u4E86");
}

TEST(Qq, noChoice_emptyMessage_fullBuffer_terminated)
{
    FakePlatform none;
    none.selectResult = 0;
    EXPECT_EQ(Answer(R"({"cmd":"qq"})", none), "null\n");
    EXPECT_EQ(none.messageText, L"");

    FakePlatform full;
    full.selectWrites = std::wstring(200, L'F');
    EXPECT_EQ(Answer(R"({"cmd":"qq"})", full), "null\n");
    EXPECT_EQ(full.messageText, std::wstring(128, L'F'));
}

} // namespace
