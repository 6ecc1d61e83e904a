// The selection-dialog double, loaded as the product loads the dialog: by
// name, from beside the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "Fixtures.h"
#include "Handles.h"
#include "SelectStruct.h"
#include "TextCodec.h"

namespace {

using SelectFunc = BOOL(WINAPI*)(PCERT_SELECT_STRUCT_W);

const char* const kStoreFiles[] = {"rsa-v3-dated.der", "rsa-v3-serial-leading-zero.der", "rsa-v1-no-ou.der", "ec-p256.der"};
const char* const kStoreSerials[] = {"2016040508", "009A0B0C0D", "07", "2002"};
constexpr char kLogFile[] = "keyinfra-cryptdlg.log";

// What the filter callback saw, and what it answers: it hides the
// certificates whose serial is in hide.
struct FilterRecord {
    std::vector<std::string> seen;
    std::vector<LPARAM> customData;
    std::vector<std::string> hide;
};
FilterRecord* gRecord = nullptr;

BOOL WINAPI RecordingFilter(PCCERT_CONTEXT cert, LPARAM customData, DWORD, DWORD)
{
    const std::string serial = SerialText(cert->pCertInfo->SerialNumber);
    gRecord->seen.push_back(serial);
    gRecord->customData.push_back(customData);
    return std::find(gRecord->hide.begin(), gRecord->hide.end(), serial) == gRecord->hide.end();
}

std::string ReadLog()
{
    std::ifstream in(kLogFile, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class CryptDlgDoubleTest : public testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryA("cryptdlg.dll");
        ASSERT_NE(module_, nullptr);
        select_ = reinterpret_cast<SelectFunc>(GetProcAddress(module_, "CertSelectCertificateW"));
        ASSERT_NE(select_, nullptr);
        // One store holding all, and one store per certificate: the order of
        // a memory store's enumeration is Wine's, the order of stores is ours.
        store_.reset(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
        for (const char* file : kStoreFiles) {
            const std::string der = ReadFixture(std::string("certs/") + file);
            UniqueCertStore single(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
            for (HCERTSTORE store : {store_.get(), single.get()}) {
                ASSERT_TRUE(CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                             static_cast<DWORD>(der.size()), CERT_STORE_ADD_ALWAYS, nullptr));
            }
            stores_.push_back(std::move(single));
        }
        std::remove(kLogFile);
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_LOG", L"keyinfra-cryptdlg.log");
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", nullptr);
        gRecord = &record_;
    }
    void TearDown() override
    {
        gRecord = nullptr;
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_LOG", nullptr);
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", nullptr);
        std::remove(kLogFile);
        FreeLibrary(module_);
    }

    // Calls the dialog as the control does (room for one certificate, the
    // filter text as custom data), with the one store or the four.
    enum class Stores { one, four };
    BOOL Select(const wchar_t* rule, PCCERT_CONTEXT* chosen, DWORD size = sizeof(CERT_SELECT_STRUCT_W), Stores which = Stores::four)
    {
        if (rule) SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", rule);
        std::vector<HCERTSTORE> stores;
        if (which == Stores::one) stores.push_back(store_.get());
        else for (const UniqueCertStore& store : stores_) stores.push_back(store.get());
        CERT_SELECT_STRUCT_W info{};
        info.dwSize = size;
        info.dwFlags = 2;
        info.cCertStore = static_cast<DWORD>(stores.size());
        info.arrayCertStore = stores.data();
        info.cCertContext = 1;
        info.arrayCertContext = chosen;
        info.lCustData = reinterpret_cast<LPARAM>(L"filter text");
        info.pfnFilter = RecordingFilter;
        return select_(&info);
    }

    HMODULE module_ = nullptr;
    SelectFunc select_ = nullptr;
    UniqueCertStore store_;
    std::vector<UniqueCertStore> stores_;
    FilterRecord record_;
};

TEST_F(CryptDlgDoubleTest, isTheDllBesideTheProgram)
{
    wchar_t program[MAX_PATH] = {}, dll[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    GetModuleFileNameW(module_, dll, MAX_PATH);
    std::wstring expected(program);
    expected = expected.substr(0, expected.find_last_of(L"\\/") + 1) + L"cryptdlg.dll";
    EXPECT_EQ(_wcsicmp(dll, expected.c_str()), 0) << ToUtf8(dll);
}

TEST_F(CryptDlgDoubleTest, filter_seesEveryCertificateOfTheStoreWithTheCustomData)
{
    PCCERT_CONTEXT chosen = nullptr;
    Select(L"none", &chosen, sizeof(CERT_SELECT_STRUCT_W), Stores::one);
    std::vector<std::string> expected(std::begin(kStoreSerials), std::end(kStoreSerials));
    std::sort(expected.begin(), expected.end());
    std::sort(record_.seen.begin(), record_.seen.end());
    EXPECT_EQ(record_.seen, expected);
    for (LPARAM data : record_.customData) EXPECT_STREQ(reinterpret_cast<const wchar_t*>(data), L"filter text");
}

struct RuleCase {
    const char* name;
    const wchar_t* rule;  // null: variable unset
    std::vector<std::string> hide;
    const char* expected;  // null: cancelled
};

class CryptDlgRuleTest : public CryptDlgDoubleTest, public testing::WithParamInterface<RuleCase> {};

TEST_P(CryptDlgRuleTest, selectsTheShownCertificateTheRuleNames)
{
    record_.hide = GetParam().hide;
    PCCERT_CONTEXT chosen = nullptr;
    const BOOL ok = Select(GetParam().rule, &chosen);

    EXPECT_EQ(record_.seen.size(), std::size(kStoreSerials));
    if (GetParam().expected) {
        EXPECT_TRUE(ok);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(SerialText(chosen->pCertInfo->SerialNumber), GetParam().expected);
        EXPECT_TRUE(CertFreeCertificateContext(chosen));
    } else {
        EXPECT_FALSE(ok);
        EXPECT_EQ(chosen, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, CryptDlgRuleTest,
    testing::Values(RuleCase{"unset_cancels", nullptr, {}, nullptr},
                    RuleCase{"none_cancels", L"none", {}, nullptr},
                    RuleCase{"first", L"first", {}, "2016040508"},
                    RuleCase{"firstShown", L"first", {"2016040508"}, "009A0B0C0D"},
                    RuleCase{"nth", L"index:3", {}, "07"},
                    RuleCase{"nthCountsShownOnly", L"index:2", {"009A0B0C0D"}, "07"},
                    RuleCase{"nthBeyondTheShown", L"index:4", {"07"}, nullptr},
                    RuleCase{"serial", L"serial:07", {}, "07"},
                    RuleCase{"serialAnyCase", L"serial:009a0b0c0d", {}, "009A0B0C0D"},
                    RuleCase{"serialNeedsItsLeadingZero", L"serial:9A0B0C0D", {}, nullptr},
                    RuleCase{"serialOfAHiddenOne", L"serial:2002", {"2002"}, nullptr},
                    RuleCase{"noneShown", L"first", {"2016040508", "009A0B0C0D", "07", "2002"}, nullptr}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST_F(CryptDlgDoubleTest, log_recordsShownHiddenAndTheChoice)
{
    record_.hide = {"07"};
    PCCERT_CONTEXT chosen = nullptr;
    ASSERT_TRUE(Select(L"serial:2002", &chosen));
    CertFreeCertificateContext(chosen);
    chosen = nullptr;
    Select(L"none", &chosen);

    EXPECT_EQ(ReadLog(),
              "call size=" + std::to_string(sizeof(CERT_SELECT_STRUCT_W)) + " flags=2 stores=4 custdata=set\n"
              "shown 2016040508 Fixture User\n"
              "shown 009A0B0C0D Fixture User\n"
              "hidden 07 Version One\n"
              "shown 2002 Fixture EC\n"
              "selected 2002\n"
              "call size=" + std::to_string(sizeof(CERT_SELECT_STRUCT_W)) + " flags=2 stores=4 custdata=set\n"
              "shown 2016040508 Fixture User\n"
              "shown 009A0B0C0D Fixture User\n"
              "hidden 07 Version One\n"
              "shown 2002 Fixture EC\n"
              "cancelled\n");
}

struct RefusalCase {
    const char* name;
    const wchar_t* rule;
    DWORD size;
};

class CryptDlgRefusalTest : public CryptDlgDoubleTest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(CryptDlgRefusalTest, refusedWithoutAskingTheFilter)
{
    PCCERT_CONTEXT chosen = nullptr;
    EXPECT_FALSE(Select(GetParam().rule, &chosen, GetParam().size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_INVALIDARG));
    EXPECT_TRUE(record_.seen.empty());
    EXPECT_EQ(chosen, nullptr);
    EXPECT_NE(ReadLog().find("\nrefused "), std::string::npos) << ReadLog();
}

INSTANTIATE_TEST_SUITE_P(Calls, CryptDlgRefusalTest,
    testing::Values(RefusalCase{"sizeOfTheOtherArchitecture", L"first", sizeof(void*) == 8 ? 68u : 136u},
                    RefusalCase{"zeroSize", L"first", 0},
                    RefusalCase{"unknownRule", L"last", sizeof(CERT_SELECT_STRUCT_W)},
                    RefusalCase{"indexZero", L"index:0", sizeof(CERT_SELECT_STRUCT_W)},
                    RefusalCase{"serialNotHex", L"serial:0x07", sizeof(CERT_SELECT_STRUCT_W)}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(CryptDlgDoubleTest, noRoomForTheAnswer_refused)
{
    SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", L"first");
    HCERTSTORE stores[] = {store_.get()};
    CERT_SELECT_STRUCT_W info{};
    info.dwSize = sizeof(info);
    info.cCertStore = 1;
    info.arrayCertStore = stores;
    info.pfnFilter = RecordingFilter;
    EXPECT_FALSE(select_(&info));
    EXPECT_TRUE(record_.seen.empty());
}

TEST_F(CryptDlgDoubleTest, withoutFilter_everyCertificateIsShown)
{
    SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", L"index:4");
    std::vector<HCERTSTORE> stores;
    for (const UniqueCertStore& store : stores_) stores.push_back(store.get());
    PCCERT_CONTEXT chosen = nullptr;
    CERT_SELECT_STRUCT_W info{};
    info.dwSize = sizeof(info);
    info.cCertStore = static_cast<DWORD>(stores.size());
    info.arrayCertStore = stores.data();
    info.cCertContext = 1;
    info.arrayCertContext = &chosen;
    ASSERT_TRUE(select_(&info));
    EXPECT_EQ(SerialText(chosen->pCertInfo->SerialNumber), "2002");
    CertFreeCertificateContext(chosen);
}

} // namespace
