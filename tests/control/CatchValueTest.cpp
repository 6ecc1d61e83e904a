// Creating the control adjusts ePass3003's "Catch" value, silently.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Handles.h"
#include "PlugInDll.h"

namespace {

constexpr const wchar_t* kZjca = L"Software\\ZJCA";
constexpr const wchar_t* kEPass = L"Software\\ZJCA\\ePass3003";

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

StoredValue ReadCatch()
{
    StoredValue value;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kEPass, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), L"Catch", nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS) return value;
    value.present = true;
    value.bytes.resize(size);
    RegQueryValueExW(key.get(), L"Catch", nullptr, &value.type, value.bytes.data(), &size);
    return value;
}

class CatchValueTest : public testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kZjca); }
    void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kZjca); }

    static void MakeKey(DWORD type = REG_NONE, const void* data = nullptr, DWORD size = 0)
    {
        UniqueRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kEPass, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
                  ERROR_SUCCESS);
        if (data) ASSERT_EQ(RegSetValueExW(key.get(), L"Catch", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    void CreateControl() { dll_.Create<IWevraCtrl>(IID_IWevraCtrl); }

    ComApartment apartment_;
    const PlugInDll& dll_ = PlugInDll::Instance();
};

void ExpectDwordOne(const StoredValue& value)
{
    ASSERT_TRUE(value.present);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(value.bytes.size(), 4u);
    DWORD number = 0;
    std::memcpy(&number, value.bytes.data(), 4);
    EXPECT_EQ(number, 1u);
}

TEST_F(CatchValueTest, withoutTheEPassKey_nothingIsCreated)
{
    CreateControl();
    UniqueRegKey key;
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kZjca, 0, KEY_READ, key.put()), ERROR_SUCCESS);
}

struct RewrittenCase {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
};

class CatchRewrittenTest : public CatchValueTest, public testing::WithParamInterface<RewrittenCase> {};

TEST_P(CatchRewrittenTest, becomesDwordOne)
{
    const auto& param = GetParam();
    MakeKey(param.type, param.data.data(), static_cast<DWORD>(param.data.size()));
    CreateControl();
    ExpectDwordOne(ReadCatch());
}

INSTANTIATE_TEST_SUITE_P(Cases, CatchRewrittenTest,
    testing::Values(RewrittenCase{"zero", REG_DWORD, {0, 0, 0, 0}},
                    RewrittenCase{"two", REG_DWORD, {2, 0, 0, 0}},
                    RewrittenCase{"textOne", REG_SZ, {'1', 0, 0, 0}},
                    RewrittenCase{"longerThanFourBytes", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CatchValueTest, missingValue_isWrittenAsDwordOne)
{
    MakeKey();
    CreateControl();
    ExpectDwordOne(ReadCatch());
}

TEST_F(CatchValueTest, fourBytesHoldingOne_areLeftAsTheyAre)
{
    const BYTE one[] = {1, 0, 0, 0};
    MakeKey(REG_BINARY, one, sizeof(one));
    CreateControl();
    const StoredValue value = ReadCatch();
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_BINARY)) << "read without its type, and not written again";

    const DWORD dwordOne = 1;
    MakeKey(REG_DWORD, &dwordOne, sizeof(dwordOne));
    CreateControl();
    ExpectDwordOne(ReadCatch());
}

} // namespace
