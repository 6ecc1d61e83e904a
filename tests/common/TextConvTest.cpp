#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "TextConv.h"
#include "WidenBytes.h"

namespace {

UniqueBstr MakeBstr(const wchar_t* units, UINT count) { return UniqueBstr(SysAllocStringLen(units, count)); }

TEST(BstrToAnsi, nullGivesNullAndEmptyGivesEmpty)
{
    EXPECT_EQ(BstrToAnsi(nullptr), nullptr);
    const UniqueBstr empty = MakeBstr(L"", 0);
    const AnsiText text = BstrToAnsi(empty.get());
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text.get(), "");
}

TEST(BstrToAnsi, stopsAtAZeroUnitInTheMiddle)
{
    const UniqueBstr text = MakeBstr(L"abc\0def", 7);
    EXPECT_STREQ(BstrToAnsi(text.get()).get(), "abc");
}

TEST(AnsiToBstr, nullGivesNullAndEmptyGivesEmptyNonNull)
{
    EXPECT_FALSE(AnsiToBstr(nullptr));
    const UniqueBstr empty = AnsiToBstr("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(SysStringLen(empty.get()), 0u);
}

TEST(TextConv, asciiTextsPassUnchanged)
{
    for (const char* ascii : {"MIIBIjANBgkqhkiG9w0BAQEFAAOC+/==", "009A0B0C0D", "12345678", "-1"}) {
        const UniqueBstr wide = AnsiToBstr(ascii);
        EXPECT_EQ(SysStringLen(wide.get()), std::strlen(ascii));
        EXPECT_STREQ(BstrToAnsi(wide.get()).get(), ascii);
    }
}

TEST(TextConvCodePage936, chineseSurvivesTheRoundTrip)
{
    ASSERT_EQ(GetACP(), 936u);
    const wchar_t chinese[] = L"\x4E2D\x56FD\x91D1\x878D\x8BA4\x8BC1\x4E2D\x5FC3";  // 中国金融认证中心
    const UniqueBstr original = MakeBstr(chinese, 8);
    const AnsiText gbk = BstrToAnsi(original.get());
    EXPECT_EQ(std::strlen(gbk.get()), 16u);
    EXPECT_EQ(std::string(gbk.get(), 2), "\xD6\xD0");
    const UniqueBstr back = AnsiToBstr(gbk.get());
    EXPECT_EQ(std::wstring(back.get()), std::wstring(chinese));
}

TEST(TextConvCodePage936, charactersOutsideTheCodePageDoNotSurvive)
{
    ASSERT_EQ(GetACP(), 936u);
    const wchar_t thai[] = L"\x0E01";
    const UniqueBstr original = MakeBstr(thai, 1);
    const UniqueBstr back = AnsiToBstr(BstrToAnsi(original.get()).get());
    EXPECT_NE(std::wstring(back.get()), std::wstring(thai));
}

TEST(WidenBytes, signExtendsEveryByteAndKeepsZeros)
{
    const std::string utf8 = std::string("A\0", 2) + "\xE4\xB8\xAD";  // "A", zero, UTF-8 of 中
    const std::wstring wide = WidenBytes(utf8);
    ASSERT_EQ(wide.size(), 5u);
    EXPECT_EQ(wide[0], L'A');
    EXPECT_EQ(wide[1], L'\0');
    EXPECT_EQ(static_cast<unsigned>(wide[2]), 0xFFE4u);
    EXPECT_EQ(static_cast<unsigned>(wide[3]), 0xFFB8u);
    EXPECT_EQ(static_cast<unsigned>(wide[4]), 0xFFADu);
}

} // namespace
