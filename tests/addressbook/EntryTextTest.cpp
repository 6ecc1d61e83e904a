#include "EntryText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct FormatCase {
    const char* name;
    std::string entryTemplate;
    std::optional<std::string> expected;
};

TEST(FormatEntryTemplate, substitutesOnlyTwoDecimalsAndRefusesEverythingElse)
{
    const FormatCase cases[] = {
        {"objectNumberThenId", "\r%d 0 obj\r/ID %d/Trust", "\r11 0 obj\r/ID 201/Trust"},
        {"doublePercentIsLiteral", "100%% %d/%d", "100% 11/201"},
        {"oneDecimalIsEnough", "only %d", "only 11"},
        {"noConversions", "plain", "plain"},
        {"endsAtFirstNul", std::string("a%d\0%s%n", 8), "a11"},
        {"stringConversion", "%d %s", std::nullopt},
        {"writeBackConversion", "%d%n%d", std::nullopt},
        {"hexConversion", "%x", std::nullopt},
        {"widthOnDecimal", "%5d", std::nullopt},
        {"longDecimal", "%ld", std::nullopt},
        {"thirdDecimal", "%d %d %d", std::nullopt},
        {"lonePercentAtEnd", "%d %d %", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatEntryTemplate(c.entryTemplate, 11, 201), c.expected);
    }
}

TEST(FormatEntryTemplate, negativeAndLargeNumbersAreWrittenInDecimal)
{
    EXPECT_EQ(FormatEntryTemplate("%d|%d", -5, 2147483647), "-5|2147483647");
}

TEST(FormatEntryTemplate, textsTheFixedBufferCannotHoldAreRefused)
{
    EXPECT_TRUE(FormatEntryTemplate(std::string(kEntryBufferSize - 1, 'x'), 1, 2));
    EXPECT_FALSE(FormatEntryTemplate(std::string(kEntryBufferSize, 'x'), 1, 2));
    // The template fits, the formatted entry would not.
    EXPECT_FALSE(FormatEntryTemplate(std::string(kEntryBufferSize - 3, 'x') + "%d", 123, 2));
    EXPECT_TRUE(FormatEntryTemplate(std::string(kEntryBufferSize - 4, 'x') + "%d", 12, 2));
}

} // namespace
