#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "RegistryScript.h"

namespace {

std::wstring ReadScript(const char* name)
{
    std::ifstream in(std::string(WEVRA_RESOURCE_DIR) + "/" + name, std::ios::binary);
    if (!in) throw std::runtime_error(std::string("cannot open ") + name);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::wstring(bytes.begin(), bytes.end());
}

const Replacements kServerVariables = {
    {L"MODULE", L"C:\\It''s\\WevraPlugIn.dll"},
    {L"MODULE_RAW", L"C:\\It''s\\WevraPlugIn.dll"},
    {L"APPID", L"{46E0505B-0B7D-4710-89D8-6DC42B562075}"},
    {L"OLEMISC", L"131473"},
};

const ScriptKey& Child(const ScriptKey& key, const std::wstring& name)
{
    for (const auto& subkey : key.subkeys)
        if (subkey.name == name) return subkey;
    throw std::runtime_error("no subkey");
}

TEST(ControlScript, describesTheControlKeysWithTheirModifiers)
{
    const auto roots = ParseRegistryScript(ExpandReplacements(ReadScript("WevraCtrl.rgs"), kServerVariables));
    ASSERT_EQ(roots.size(), 1u);
    const ScriptKey& hkcr = roots[0];
    EXPECT_EQ(hkcr.name, L"HKCR");

    EXPECT_EQ(Child(hkcr, L"WevraCtrl.1").defaultValue->text, L"WevraCtrl Class");
    EXPECT_EQ(Child(Child(hkcr, L"WevraCtrl.1"), L"CLSID").defaultValue->text,
              L"{08E2ACF2-E1E8-4AAA-BC31-14CDE6E7FE5B}");
    EXPECT_EQ(Child(Child(hkcr, L"WevraCtrl"), L"CurVer").defaultValue->text, L"WevraCtrl.1");

    const ScriptKey& clsidRoot = Child(hkcr, L"CLSID");
    EXPECT_EQ(clsidRoot.modifier, KeyModifier::NoRemove);
    const ScriptKey& clsid = Child(clsidRoot, L"{08E2ACF2-E1E8-4AAA-BC31-14CDE6E7FE5B}");
    EXPECT_EQ(clsid.modifier, KeyModifier::ForceRemove);
    EXPECT_EQ(clsid.defaultValue->text, L"WevraCtrl Class");

    const ScriptKey& server = Child(clsid, L"InprocServer32");
    EXPECT_EQ(server.defaultValue->text, L"C:\\It's\\WevraPlugIn.dll") << "doubled quotes read as one";
    ASSERT_EQ(server.values.size(), 1u);
    EXPECT_EQ(server.values[0].name, L"ThreadingModel");
    EXPECT_EQ(server.values[0].value.text, L"Apartment");

    EXPECT_EQ(Child(clsid, L"Programmable").modifier, KeyModifier::ForceRemove);
    EXPECT_FALSE(Child(clsid, L"Programmable").defaultValue.has_value());
    EXPECT_EQ(Child(clsid, L"Control").modifier, KeyModifier::ForceRemove);
    EXPECT_EQ(Child(clsid, L"ToolboxBitmap32").defaultValue->text, L"C:\\It's\\WevraPlugIn.dll, 106");
    EXPECT_EQ(Child(clsid, L"MiscStatus").defaultValue->text, L"0");
    EXPECT_EQ(Child(Child(clsid, L"MiscStatus"), L"1").defaultValue->text, L"131473");
    EXPECT_EQ(Child(clsid, L"TypeLib").defaultValue->text, L"{12D7E4BE-860B-4E39-9B0B-F27CB9105A19}");
    EXPECT_EQ(Child(clsid, L"Version").defaultValue->text, L"1.0");
    EXPECT_EQ(clsid.subkeys.size(), 9u) << "no AppID, categories or verbs";
}

TEST(ServerScript, isAnEmptyClassesRootBlock)
{
    const auto roots = ParseRegistryScript(ExpandReplacements(ReadScript("WevraPlugIn.rgs"), kServerVariables));
    ASSERT_EQ(roots.size(), 1u);
    EXPECT_EQ(roots[0].name, L"HKCR");
    EXPECT_TRUE(roots[0].subkeys.empty());
    EXPECT_TRUE(roots[0].values.empty());
}

struct ExpandCase {
    const char* name;
    const wchar_t* text;
    const wchar_t* expected;
};

class ExpandTest : public testing::TestWithParam<ExpandCase> {};

TEST_P(ExpandTest, replacesVariables)
{
    EXPECT_EQ(ExpandReplacements(GetParam().text, {{L"MODULE", L"C:\\x.dll"}, {L"OLEMISC", L"131473"}}),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ExpandTest,
    testing::Values(ExpandCase{"noVariables", L"HKCR { }", L"HKCR { }"},
                    ExpandCase{"oneVariable", L"s '%MODULE%'", L"s 'C:\\x.dll'"},
                    ExpandCase{"nameInAnyCase", L"%Module%, %olemisc%", L"C:\\x.dll, 131473"},
                    ExpandCase{"doublePercentIsOne", L"100%%", L"100%"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Expand, unknownOrUnterminatedVariableIsAnError)
{
    EXPECT_THROW(ExpandReplacements(L"%APPID%", {{L"MODULE", L"x"}}), ScriptError);
    EXPECT_THROW(ExpandReplacements(L"50% off", {{L"MODULE", L"x"}}), ScriptError);
}

TEST(Parse, readsNumberBinaryAndQuotedValues)
{
    const auto roots = ParseRegistryScript(
        L"HKLM { 'Key With Spaces' = d '0x20191' { val Bytes = b '0aFF' val Count = d '42' "
        L"val Text = s 'it''s' } Delete Old NoRemove Kept }");
    const ScriptKey& key = roots[0].subkeys[0];
    EXPECT_EQ(key.name, L"Key With Spaces");
    EXPECT_EQ(key.defaultValue->type, ScriptValue::Type::Dword);
    EXPECT_EQ(key.defaultValue->number, 0x20191u);
    ASSERT_EQ(key.values.size(), 3u);
    EXPECT_EQ(key.values[0].value.bytes, (std::vector<std::uint8_t>{0x0a, 0xff}));
    EXPECT_EQ(key.values[1].value.number, 42u);
    EXPECT_EQ(key.values[2].value.text, L"it's");
    EXPECT_EQ(roots[0].subkeys[1].modifier, KeyModifier::Delete);
    EXPECT_EQ(roots[0].subkeys[2].modifier, KeyModifier::NoRemove);
}

struct BadScriptCase {
    const char* name;
    const wchar_t* text;
};

class BadScriptTest : public testing::TestWithParam<BadScriptCase> {};

TEST_P(BadScriptTest, isRejected) { EXPECT_THROW(ParseRegistryScript(GetParam().text), ScriptError); }

INSTANTIATE_TEST_SUITE_P(Cases, BadScriptTest,
    testing::Values(BadScriptCase{"unknownRoot", L"HKXX { }"},
                    BadScriptCase{"unclosedBlock", L"HKCR { Key"},
                    BadScriptCase{"unterminatedQuote", L"HKCR { 'Key }"},
                    BadScriptCase{"unknownValueType", L"HKCR { Key = x 'y' }"},
                    BadScriptCase{"badNumber", L"HKCR { Key = d '12a' }"},
                    BadScriptCase{"oddHexDigits", L"HKCR { Key = b 'abc' }"},
                    BadScriptCase{"valWithoutEquals", L"HKCR { Key { val Name s 'x' } }"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
