#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ErrorCodes.h"
#include "HostBytes.h"
#include "ResponseWriter.h"

namespace {

using namespace std::string_literals;

struct WriterCase {
    const char* name;
    std::function<Json::Value()> make;
    std::string bytes;
};

class ResponseWriterTest : public testing::TestWithParam<WriterCase> {};

TEST_P(ResponseWriterTest, writesExactBytes)
{
    const std::string written = SerializeResponse(GetParam().make());
    EXPECT_EQ(Hex(written), Hex(GetParam().bytes));
}

Json::Value Str(const std::string& text)
{
    Json::Value v;
    v["s"] = text;
    return v;
}

INSTANTIATE_TEST_SUITE_P(Cases, ResponseWriterTest,
    testing::Values(
        WriterCase{"null_writesNull", [] { return Json::Value(); }, "null\n"},
        WriterCase{"verinfo_keysSorted",
                   [] {
                       Json::Value v;
                       v["ver"] = "1.0.0";
                       v["errCode"] = 0;
                       return v;
                   },
                   "{\"errCode\":0,\"ver\":\"1.0.0\"}\n"},
        WriterCase{"everyEnvelopeKey_setInReverse_ascendingByteOrder",
                   [] {
                       Json::Value v;
                       for (const char* key : {"ver", "sign", "info", "errShow", "errMsg", "errCode", "certSerial",
                                               "certBase64"})
                           v[key] = 1;
                       return v;
                   },
                   "{\"certBase64\":1,\"certSerial\":1,\"errCode\":1,\"errMsg\":1,\"errShow\":1,\"info\":1,"
                   "\"sign\":1,\"ver\":1}\n"},
        WriterCase{"keysWithHighBytes_sortAfterAscii",
                   [] {
                       Json::Value v;
                       v["\xC0"] = 1;
                       v["z"] = 2;
                       v["Z"] = 3;
                       return v;
                   },
                   "{\"Z\":3,\"z\":2,\"\xC0\":1}\n"},
        WriterCase{"twoCharacterEscapes", [] { return Str("\"\\\b\f\n\r\t"); },
                   "{\"s\":\"\\\"\\\\\\b\\f\\n\\r\\t\"}\n"},
        WriterCase{"otherControlBytes_upperCaseUnicodeEscapes", [] { return Str("\x01\x0B\x1A\x1F"); },
                   "{\"s\":\"\\u0001\\u000B\\u001A\\u001F\"}\n"},
        WriterCase{"zeroByteInsideText_escaped", [] { return Str("a\0b"s); }, "{\"s\":\"a\\u0000b\"}\n"},
        WriterCase{"highBytes_copiedUnchanged", [] { return Str("\x7F\x80\xBB\xF1\xFF"); },
                   "{\"s\":\"\x7F\x80\xBB\xF1\xFF\"}\n"},
        WriterCase{"utf8Bytes_copiedUnchanged", [] { return Str("\xE4\xB8\xAD"); },
                   "{\"s\":\"\xE4\xB8\xAD\"}\n"},
        WriterCase{"solidusAndSpaces_unescaped", [] { return Str("a/b c"); }, "{\"s\":\"a/b c\"}\n"},
        WriterCase{"integers_decimal",
                   [] {
                       Json::Value v;
                       v["a"] = -2147483647 - 1;
                       v["b"] = 10001;
                       v["c"] = Json::UInt(4294967295u);
                       return v;
                   },
                   "{\"a\":-2147483648,\"b\":10001,\"c\":4294967295}\n"},
        WriterCase{"nestedValues_compact",
                   [] {
                       Json::Value v;
                       v["o"]["y"] = true;
                       v["o"]["x"] = Json::Value();
                       v["a"].append(1);
                       v["a"].append("t");
                       return v;
                   },
                   "{\"a\":[1,\"t\"],\"o\":{\"x\":null,\"y\":true}}\n"},
        WriterCase{"unsupportedCommand_54BytesOfGbk",
                   [] {
                       Json::Value v;
                       FailWith(v, kErrUnsupported);
                       return v;
                   },
                   "{\"errCode\":10001,\"errMsg\":\"\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4\xB9\xA6\xC4\xDC\",\"errShow\":1}\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ResponseWriter, unsupportedCommandAnswer_is54Bytes)
{
    Json::Value v;
    FailWith(v, kErrUnsupported);
    EXPECT_EQ(SerializeResponse(v).size(), 54u);
}

} // namespace
