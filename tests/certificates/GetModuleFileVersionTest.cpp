#include <gtest/gtest.h>

#include <windows.h>

#include "GetModuleFileVersion.h"
#include "Handles.h"

namespace {

TEST(GetModuleFileVersion, twoTranslations_giveBothTextsRunTogetherInTableOrder)
{
    UniqueModule dll(LoadLibraryW(L"two_translations.dll"));
    ASSERT_TRUE(dll);
    const FileVersionText version = GetModuleFileVersion(dll.get());
    EXPECT_EQ(version.hr, S_OK);
    EXPECT_EQ(version.text, L"1.0.0.12.0.0.2");
}

TEST(GetModuleFileVersion, moduleWithoutVersionResource_givesFalseAndEmptyText)
{
    const FileVersionText version = GetModuleFileVersion(GetModuleHandleW(nullptr));
    EXPECT_EQ(version.hr, S_FALSE);
    EXPECT_EQ(version.text, L"");
}

TEST(GetModuleFileVersion, codeLinkedIntoAProgram_findsThatProgram)
{
    EXPECT_EQ(ModuleOfThisCode(), GetModuleHandleW(nullptr));
}

} // namespace
