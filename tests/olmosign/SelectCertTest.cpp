// CSP_SelectCertForIssuerDialog through the selection-dialog double beside
// this program: which certificates the issuer text offers, the serial text it
// writes, and the bounds of the caller's buffer.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "OlmoSignCsp.h"
#include "TestCert.h"
#include "WidenBytes.h"

namespace {

constexpr wchar_t kProvider[] = L"Microsoft Enhanced RSA and AES Cryptographic Provider";
constexpr wchar_t kGuard = 0x2A2A;

void Dialog(const std::wstring& rule)
{
    SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", rule.c_str());
}

class SelectCert : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Self-signed: each issuer name is its subject.
        first_ = new TestCert(kProvider, PROV_RSA_AES, L"CN=OlmoSign Select Alpha, O=Pelorin Test");
        second_ = new TestCert(kProvider, PROV_RSA_AES, L"CN=OlmoSign Select Beta, O=Pelorin Test");
    }
    static void TearDownTestSuite()
    {
        delete first_;
        delete second_;
        SetEnvironmentVariableW(L"KEYINFRA_CRYPTDLG_SELECT", nullptr);
    }
    static std::pair<int, std::wstring> Select(const std::wstring& issuer, int units = 128)
    {
        std::vector<wchar_t> buffer(units + 8, kGuard);
        const int result = CSP_SelectCertForIssuerDialog(GetDesktopWindow(), issuer.c_str(), buffer.data(), units);
        EXPECT_TRUE(std::all_of(buffer.begin() + units, buffer.end(), [](wchar_t c) { return c == kGuard; }))
            << "written past the buffer";
        if (result == 0) {
            EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](wchar_t c) { return c == kGuard; }))
                << "written without a choice";
            return {0, L""};
        }
        return {result, std::wstring(buffer.data())};
    }
    static TestCert* first_;
    static TestCert* second_;
};
TestCert* SelectCert::first_ = nullptr;
TestCert* SelectCert::second_ = nullptr;

TEST_F(SelectCert, issuerText_offersOnlyMatchingIssuers_ignoringCase)
{
    Dialog(L"first");
    const auto chosen = Select(L"olmosign select BETA");
    EXPECT_NE(chosen.first, 0);
    EXPECT_EQ(chosen.second, second_->serial());
}

TEST_F(SelectCert, emptyIssuer_offersEveryCertificate)
{
    Dialog(L"serial:" + first_->serial());
    EXPECT_EQ(Select(L"").second, first_->serial());
    Dialog(L"serial:" + second_->serial());
    EXPECT_EQ(Select(L"").second, second_->serial());
}

TEST_F(SelectCert, widenedUtf8Issuer_matchesAsText)
{
    // "Beta" with an e-acute, as the host widens its UTF-8 bytes: no such
    // issuer, so nothing is offered; the plain ASCII part still matches.
    Dialog(L"first");
    EXPECT_EQ(Select(WidenBytes("B\xC3\xA9ta")).first, 0);
    EXPECT_EQ(Select(WidenBytes("Select Beta")).second, second_->serial());
}

TEST_F(SelectCert, noMatchingIssuer_orCancelledDialog_answersZeroAndWritesNothing)
{
    Dialog(L"first");
    EXPECT_EQ(Select(L"No Such Issuer Anywhere").first, 0);
    Dialog(L"none");
    EXPECT_EQ(Select(L"OlmoSign Select").first, 0);
}

TEST_F(SelectCert, serialTextAndItsZeroMustFit)
{
    Dialog(L"serial:" + first_->serial());
    const int exact = static_cast<int>(first_->serial().size()) + 1;
    EXPECT_EQ(Select(L"Alpha", exact - 1).first, 0);
    EXPECT_EQ(Select(L"Alpha", exact).second, first_->serial());
}

} // namespace
