#include <gtest/gtest.h>

#include <string>

#include "Base64.h"

namespace {

using namespace std::string_literals;

struct EncodeCase {
    const char* name;
    std::string bytes;
    std::string text;
};

class Base64EncodeTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(Base64EncodeTest, encodesWithPaddingAndNoLineBreaks)
{
    EXPECT_EQ(Base64Encode(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, Base64EncodeTest,
    testing::Values(
        EncodeCase{"empty", "", ""},
        EncodeCase{"oneByte_twoPads", "M", "TQ=="},
        EncodeCase{"twoBytes_onePad", "Ma", "TWE="},
        EncodeCase{"threeBytes_noPad", "Man", "TWFu"},
        EncodeCase{"zeroBytes", "\0\0\0\0"s, "AAAAAA=="},
        EncodeCase{"highBytes", "\xFF\xFE\xFD\xFC"s, "//79/A=="},
        EncodeCase{"longInput_noLineBreak", std::string(100, 'a'),
                   "YWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYWFhYQ=="}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
    const char* name;
    std::string text;
    std::string bytes;
};

class Base64DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64DecodeTest, decodesUpToTheFirstStop)
{
    EXPECT_EQ(Base64Decode(GetParam().text), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, Base64DecodeTest,
    testing::Values(
        DecodeCase{"empty", "", ""},
        DecodeCase{"padded", "TWE=", "Ma"},
        DecodeCase{"unpaddedTwoChars_oneByte", "TQ", "M"},
        DecodeCase{"unpaddedThreeChars_twoBytes", "TWE", "Ma"},
        DecodeCase{"singleTrailingChar_nothing", "TWFuT", "Man"},
        DecodeCase{"stopsAtFirstPad_secondGroupIgnored", "TQ==TWFu", "M"},
        DecodeCase{"lineBreakEndsDecoding", "TWFu\nTWFu", "Man"},
        DecodeCase{"crlfEndsDecoding", "TWFu\r\nTWFu", "Man"},
        DecodeCase{"leadingSpace_empty", " TWFu", ""},
        DecodeCase{"leadingLineBreak_empty", "\nTWFu", ""},
        DecodeCase{"urlSafeMinusStops", "TWFu-TWFu", "Man"},
        DecodeCase{"urlSafeUnderscoreStops", "TW_u", "M"},
        DecodeCase{"percentStops", "TWFu%", "Man"},
        DecodeCase{"tabStops", "TWFu\tTWFu", "Man"},
        DecodeCase{"zeroByteStops", "TWFu\0TWFu"s, "Man"},
        DecodeCase{"highByteStops", "TWFu\xC3\xA9TWFu"s, "Man"},
        DecodeCase{"nonCanonicalLastChar", "TR", "M"},
        DecodeCase{"nonCanonicalLastCharPadded", "TWF=", "Ma"},
        DecodeCase{"stopInsideWholeGroup", "TWFuT=Fu", "Man"},
        DecodeCase{"zeroBytesDecoded", "AAAA", "\0\0\0"s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Base64RoundTrip, everyByteValueAndEveryTailLengthSurvives)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        const std::string input = bytes.substr(0, length);
        const std::string text = Base64Encode(input);
        ASSERT_EQ(text.size(), 4 * ((length + 2) / 3)) << "length " << length;
        ASSERT_EQ(Base64Decode(text), input) << "length " << length;
    }
}

TEST(Base64Alphabet, isTheStandardSixtyFourCharacters)
{
    EXPECT_EQ(Base64Alphabet, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/");
}

TEST(Base64Decode, everyByteOutsideTheAlphabetStopsDecoding)
{
    for (int c = 0; c < 256; ++c) {
        const bool accepted = Base64Alphabet.find(static_cast<char>(c)) != std::string::npos;
        const std::string text = "TWFu"s + static_cast<char>(c) + "TWFu";
        if (accepted)
            EXPECT_EQ(Base64Decode(text).size(), 6u) << "character " << c;
        else
            EXPECT_EQ(Base64Decode(text), "Man")
            << "character " << c;
    }
}

} // namespace
