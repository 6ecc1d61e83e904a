// The selection dialog path of SelectCert, with the selection-dialog double
// beside this program in place of the system's cryptdlg.dll: directly, and
// through the real control created by ProgID.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "CertSelectDialog.h"
#include "ControlEnvironment.h"
#include "PickCertByDialog.h"
#include "SelectCert.h"
#include "TestStoreCert.h"
#include "WevraClient.h"

namespace {

const auto* const environment = testing::AddGlobalTestEnvironment(new ControlEnvironment);

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

// Tells the double which certificate to "click" and where to log what it showed.
class DialogScript {
public:
    explicit DialogScript(const std::wstring& rule)
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        log_ = std::wstring(temp) + L"certops-dialog.log";
        DeleteFileW(log_.c_str());
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", rule.c_str());
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_LOG", log_.c_str());
    }
    ~DialogScript()
    {
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", nullptr);
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_LOG", nullptr);
        DeleteFileW(log_.c_str());
    }
    // The log's lines; empty when the dialog was never called.
    std::vector<std::string> Lines() const
    {
        std::ifstream in(Narrow(log_));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    bool Has(const std::string& line) const
    {
        const std::vector<std::string> lines = Lines();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

private:
    std::wstring log_;
};

class SelectCertDialogTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        certs_ = new std::vector<std::unique_ptr<TestStoreCert>>;
        auto add = [](TestCertSpec spec) { certs_->push_back(std::make_unique<TestStoreCert>(std::move(spec))); };
        add({{0x7C, 0xED, 0x01}, L"CN=Dialog Alice DQ7, O=Certops Test"});
        add({{0x7C, 0xED, 0x02}, L"CN=Dialog Bob DQ7, O=Certops Test"});
        add({{0x7C, 0xED, 0x03}, L"CN=Dialog Unsigning DQ7, O=Certops Test", L"", CERT_NON_REPUDIATION_KEY_USAGE});
        add({{0x7C, 0xED, 0x04}, L"CN=Dialog Unmarked DQ7, O=Certops Test", L"", std::nullopt});
        add({{0x7C, 0xED, 0x05}, L"CN=Other Carol, O=Elsewhere", L"CN=Dialog Issuer DQ7, O=Certops Test"});
    }
    static void TearDownTestSuite()
    {
        delete certs_;
        certs_ = nullptr;
    }
    static std::string Serial(size_t i) { return Narrow((*certs_)[i]->SerialText()); }

private:
    static std::vector<std::unique_ptr<TestStoreCert>>* certs_;
};
std::vector<std::unique_ptr<TestStoreCert>>* SelectCertDialogTest::certs_ = nullptr;

TEST_F(SelectCertDialogTest, severalMatches_askTheUserAndAnswerThePick)
{
    DialogScript dialog(L"serial:7ced02");
    EXPECT_EQ(SelectCert(L"dq7", 0, nullptr), L"7CED02");
    EXPECT_TRUE(dialog.Has("selected 7CED02"));
}

TEST_F(SelectCertDialogTest, dialogClosedWithoutAChoice_givesTheEmptyText)
{
    DialogScript dialog(L"none");
    EXPECT_EQ(SelectCert(L"dialog", 0, nullptr), L"");
    EXPECT_TRUE(dialog.Has("cancelled"));
}

TEST_F(SelectCertDialogTest, oneMatchOrFirstMode_neverOpensTheDialog)
{
    DialogScript dialog(L"first");
    EXPECT_EQ(SelectCert(L"dialog alice dq7", 0, nullptr), L"7CED01");
    EXPECT_NE(SelectCert(L"dq7", 1, nullptr), L"");
    EXPECT_EQ(SelectCert(L"no match for this dq7", 0, nullptr), L"");
    EXPECT_TRUE(dialog.Lines().empty());
}

TEST_F(SelectCertDialogTest, dialogGetsOneStoreTheFlagsAndTheFilterAsCustomData)
{
    DialogScript dialog(L"none");
    PickCertByDialog(nullptr, L"dq7");
    const std::vector<std::string> lines = dialog.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(),
              "call size=" + std::to_string(sizeof(CERT_SELECT_STRUCT_W)) + " flags=2 stores=1 custdata=set");
}

TEST_F(SelectCertDialogTest, filterCallback_showsSigningCertificatesWhoseNamesHoldTheFilter)
{
    DialogScript dialog(L"none");
    PickCertByDialog(nullptr, L"dialog");
    EXPECT_TRUE(dialog.Has("shown " + Serial(0) + " Dialog Alice DQ7"));
    EXPECT_TRUE(dialog.Has("shown " + Serial(1) + " Dialog Bob DQ7"));
    EXPECT_TRUE(dialog.Has("hidden " + Serial(2) + " Dialog Unsigning DQ7"));
    EXPECT_TRUE(dialog.Has("hidden " + Serial(3) + " Dialog Unmarked DQ7"));
    // Found through the issuer's distinguished name.
    EXPECT_TRUE(dialog.Has("shown " + Serial(4) + " Other Carol"));
}

TEST_F(SelectCertDialogTest, starFilter_opensTheDialogWhichLooksForALiteralStar)
{
    DialogScript dialog(L"first");
    const std::wstring picked = SelectCert(L"*", 0, nullptr);
    const std::vector<std::string> lines = dialog.Lines();
    ASSERT_FALSE(lines.empty());
    for (size_t i = 0; i < 5; ++i) {
        for (const std::string& line : lines) EXPECT_NE(line.rfind("shown " + Serial(i) + " ", 0), 0u) << line;
        EXPECT_NE(picked, std::wstring(Serial(i).begin(), Serial(i).end()));
    }
}

TEST_F(SelectCertDialogTest, throughTheControl_theDialogsPickIsTheResult)
{
    WevraClient client;
    {
        DialogScript dialog(L"serial:7CED01");
        const CallResult result = client.Call(L"SelectCert", {Arg::Text(L"DQ7"), Arg::Short(0), Arg::Long(0)});
        EXPECT_EQ(result.hr, S_OK);
        EXPECT_EQ(result.text, L"7CED01");
        EXPECT_TRUE(dialog.Has("hidden " + Serial(2) + " Dialog Unsigning DQ7"));
    }
    {
        DialogScript dialog(L"none");
        const CallResult result = client.Call(L"SelectCert", {Arg::Text(L"DQ7"), Arg::Short(3), Arg::Long(0)});
        EXPECT_EQ(result.hr, S_OK);
        EXPECT_EQ(result.type, VT_BSTR);
        EXPECT_FALSE(result.nullText);
        EXPECT_EQ(result.text, L"");
    }
}

} // namespace
