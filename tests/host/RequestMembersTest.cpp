#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <json/reader.h>

#include "RequestMembers.h"

namespace {

using namespace std::string_literals;

struct MemberCase {
    const char* name;
    const char* request; // JSON text of the request object
    std::optional<std::string> text;
    std::optional<std::int32_t> integer;
};

class RequestMembersTest : public testing::TestWithParam<MemberCase> {};

TEST_P(RequestMembersTest, readsByTheHostsRules)
{
    Json::Reader reader;
    Json::Value request;
    ASSERT_TRUE(reader.parse(GetParam().request, request));
    EXPECT_EQ(ReadMemberText(request, "m"), GetParam().text);
    EXPECT_EQ(ReadMemberInt(request, "m"), GetParam().integer);
}

const std::optional<std::string> kNoText;
const std::optional<std::int32_t> kNoInt;

INSTANTIATE_TEST_SUITE_P(Cases, RequestMembersTest,
    testing::Values(
        MemberCase{"missing", R"({"x":1})", ""s, 0},
        MemberCase{"null", R"({"m":null})", ""s, 0},
        MemberCase{"nullRequest", "null", ""s, 0},
        MemberCase{"string", R"({"m":"abc"})", "abc"s, kNoInt},
        MemberCase{"numericString_notAnInteger", R"({"m":"12"})", "12"s, kNoInt},
        MemberCase{"escapedZero_endsText", R"({"m":"ab\u0000cd"})", "ab"s, kNoInt},
        MemberCase{"nonAscii_asUtf8", R"({"m":"\u4e2d"})", "\xE4\xB8\xAD"s, kNoInt},
        MemberCase{"escapes_resolved", R"({"m":"a\"\\\/\n"})", "a\"\\/\n"s, kNoInt},
        MemberCase{"true", R"({"m":true})", "true"s, 1},
        MemberCase{"false", R"({"m":false})", "false"s, 0},
        MemberCase{"integer_notText", R"({"m":42})", kNoText, 42},
        MemberCase{"negative", R"({"m":-7})", kNoText, -7},
        MemberCase{"int32Min", R"({"m":-2147483648})", kNoText, -2147483647 - 1},
        MemberCase{"int32Max", R"({"m":2147483647})", kNoText, 2147483647},
        MemberCase{"aboveInt32", R"({"m":2147483648})", kNoText, kNoInt},
        MemberCase{"belowInt32", R"({"m":-2147483649})", kNoText, kNoInt},
        MemberCase{"aboveUint64", R"({"m":99999999999999999999})", kNoText, kNoInt},
        MemberCase{"fraction_truncatedDown", R"({"m":3.9})", kNoText, 3},
        MemberCase{"negativeFraction_truncatedTowardZero", R"({"m":-3.9})", kNoText, -3},
        MemberCase{"exponent", R"({"m":1e3})", kNoText, 1000},
        MemberCase{"fractionJustAboveInt32Max_truncatesIn", R"({"m":2147483647.5})", kNoText, 2147483647},
        MemberCase{"exponentOutOfRange", R"({"m":1e10})", kNoText, kNoInt},
        MemberCase{"array", R"({"m":[1]})", kNoText, kNoInt},
        MemberCase{"object", R"({"m":{"a":1}})", kNoText, kNoInt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
