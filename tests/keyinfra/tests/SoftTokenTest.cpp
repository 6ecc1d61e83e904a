// The soft-token CSP through the paths the product uses: a certificate in
// "MY" whose key-provider property names the token, CryptSignMessage, and
// a silent context that presents the signature PIN.
#include <gtest/gtest.h>

#include <sstream>

#include "CertInstaller.h"
#include "Handles.h"
#include "SoftTokenProvider.h"
#include "StoreLookup.h"
#include "WinError.h"

namespace {

constexpr char kPin[] = "1234";

// The PIN memory is per process and per container, so each test uses
// containers of its own. Certificates come from the test CA: a self-signed
// one would be signed with the token's key at install time, in this
// process, and that counts as a PIN typed at the prompt.
std::string InstallTokenCert(const std::wstring& container, const char* pin = kPin)
{
    CertSpec spec;
    spec.subject = L"CN=Token User " + container;
    spec.caName = L"CN=KeyInfra Token CA";
    spec.provider = KEYINFRA_SOFTTOKEN_PROV_W;
    spec.container = container;
    if (pin) spec.pin = pin;
    return InstallCertificate(spec).serial;
}

UniqueCryptProv OpenToken(const wchar_t* container, DWORD flags)
{
    UniqueCryptProv prov;
    CheckWin32(CryptAcquireContextW(prov.put(), container, KEYINFRA_SOFTTOKEN_PROV_W, PROV_RSA_FULL, flags), "CryptAcquireContextW");
    return prov;
}

// Presents a PIN as the product's PIN check does: a silent context of the
// key's container, PP_SIGNATURE_PIN. Returns 0 or the error.
DWORD PresentPin(const wchar_t* container, const char* pin)
{
    UniqueCryptProv prov = OpenToken(container, CRYPT_SILENT);
    return CryptSetProvParam(prov.get(), PP_SIGNATURE_PIN, reinterpret_cast<const BYTE*>(pin), 0) ? 0 : GetLastError();
}

enum class Prompt { allowed, silent };

// Signs through CryptSignMessage with the certificate found in "MY" and
// checks the message; returns 0 or the error of the failing call. Wine's
// CryptSignMessage ignores CRYPT_SILENT in the key-provider property, so a
// silent signer gets its key context attached, as a caller that acquired
// the key itself would.
DWORD SignAndVerify(const std::string& serial, Prompt prompt = Prompt::allowed)
{
    UniqueCertContext cert = FindBySerial(serial);
    if (!cert) return static_cast<DWORD>(CRYPT_E_NOT_FOUND);
    try {
        if (prompt == Prompt::silent) {
            DWORD size = 0;
            CheckWin32(CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, nullptr, &size), "CertGetCertificateContextProperty");
            std::vector<BYTE> raw(size);
            CheckWin32(CertGetCertificateContextProperty(cert.get(), CERT_KEY_PROV_INFO_PROP_ID, raw.data(), &size), "CertGetCertificateContextProperty");
            const auto* info = reinterpret_cast<const CRYPT_KEY_PROV_INFO*>(raw.data());
            CERT_KEY_CONTEXT key{sizeof(CERT_KEY_CONTEXT), {}, info->dwKeySpec};
            key.hCryptProv = OpenToken(info->pwszContainerName, CRYPT_SILENT).release();
            // The certificate context owns the key context from here on.
            CheckWin32(CertSetCertificateContextProperty(cert.get(), CERT_KEY_CONTEXT_PROP_ID, 0, &key), "CertSetCertificateContextProperty");
        }
        const std::vector<BYTE> message = SignAttached(cert.get(), "signed by the token");
        return VerifiedContent(message) == "signed by the token" ? 0 : static_cast<DWORD>(NTE_BAD_SIGNATURE);
    } catch (const HResultError& e) {
        return static_cast<DWORD>(e.hr());
    }
}

class SoftTokenTest : public testing::Test {
protected:
    static void SetUpTestSuite() { ClearStore(L"MY", true); }
    static void TearDownTestSuite() { ClearStore(L"MY", true); }
};

TEST_F(SoftTokenTest, isRegisteredUnderItsNameAndType)
{
    UniqueCryptProv prov = OpenToken(nullptr, CRYPT_VERIFYCONTEXT);
    char name[128] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(CryptGetProvParam(prov.get(), PP_NAME, reinterpret_cast<BYTE*>(name), &size, 0));
    EXPECT_STREQ(name, KEYINFRA_SOFTTOKEN_PROV_A);
    DWORD type = 0;
    size = sizeof(type);
    ASSERT_TRUE(CryptGetProvParam(prov.get(), PP_PROVTYPE, reinterpret_cast<BYTE*>(&type), &size, 0));
    EXPECT_EQ(type, DWORD{PROV_RSA_FULL});
}

struct PinCase {
    const char* name;
    const char* pin;
    DWORD expected;
};

class SoftTokenPinTest : public SoftTokenTest, public testing::WithParamInterface<PinCase> {};

TEST_P(SoftTokenPinTest, signaturePin_acceptedOnlyWhenRight)
{
    const std::wstring container = L"keyinfra-pin-" + std::wstring(GetParam().name, GetParam().name + strlen(GetParam().name));
    InstallTokenCert(container);
    EXPECT_EQ(PresentPin(container.c_str(), GetParam().pin), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Pins, SoftTokenPinTest,
    testing::Values(PinCase{"right", "1234", 0},
                    PinCase{"wrong", "4321", static_cast<DWORD>(SCARD_W_WRONG_CHV)},
                    PinCase{"longer", "12345", static_cast<DWORD>(SCARD_W_WRONG_CHV)},
                    PinCase{"prefix", "123", static_cast<DWORD>(SCARD_W_WRONG_CHV)},
                    PinCase{"empty", "", static_cast<DWORD>(SCARD_W_WRONG_CHV)},
                    PinCase{"null", nullptr, static_cast<DWORD>(SCARD_W_WRONG_CHV)}),
    [](const testing::TestParamInfo<PinCase>& info) { return std::string(info.param.name); });

TEST_F(SoftTokenTest, containerWithoutPin_acceptsNone)
{
    InstallTokenCert(L"keyinfra-nopin", nullptr);
    EXPECT_EQ(PresentPin(L"keyinfra-nopin", ""), static_cast<DWORD>(SCARD_W_WRONG_CHV));
    EXPECT_EQ(PresentPin(L"keyinfra-nopin", kPin), static_cast<DWORD>(SCARD_W_WRONG_CHV));
}

TEST_F(SoftTokenTest, silentSigning_refusedBeforeThePinIsKnownAndAcceptedAfter)
{
    const std::string serial = InstallTokenCert(L"keyinfra-silent");

    EXPECT_EQ(SignAndVerify(serial, Prompt::silent), static_cast<DWORD>(NTE_SILENT_CONTEXT));
    EXPECT_EQ(PresentPin(L"keyinfra-silent", "0000"), static_cast<DWORD>(SCARD_W_WRONG_CHV));
    EXPECT_EQ(SignAndVerify(serial, Prompt::silent), static_cast<DWORD>(NTE_SILENT_CONTEXT));

    ASSERT_EQ(PresentPin(L"keyinfra-silent", kPin), 0u);
    EXPECT_EQ(SignAndVerify(serial, Prompt::silent), 0u);
    // A wrong PIN later does not forget the right one.
    EXPECT_EQ(PresentPin(L"keyinfra-silent", "0000"), static_cast<DWORD>(SCARD_W_WRONG_CHV));
    EXPECT_EQ(SignAndVerify(serial, Prompt::silent), 0u);
}

TEST_F(SoftTokenTest, nonSilentSigning_acceptedWithoutAPinAndThenRemembered)
{
    const std::string serial = InstallTokenCert(L"keyinfra-prompt");
    const std::string otherSerial = InstallTokenCert(L"keyinfra-prompt2");

    EXPECT_EQ(SignAndVerify(serial), 0u);
    EXPECT_EQ(SignAndVerify(serial, Prompt::silent), 0u);
    // Another container is still locked for silent use.
    EXPECT_EQ(SignAndVerify(otherSerial, Prompt::silent), static_cast<DWORD>(NTE_SILENT_CONTEXT));
}

TEST_F(SoftTokenTest, knownPin_holdsForNewContextsOfTheSameContainerOnly)
{
    InstallTokenCert(L"keyinfra-shared");
    const std::string other = InstallTokenCert(L"keyinfra-other");
    ASSERT_EQ(PresentPin(L"keyinfra-shared", kPin), 0u);

    // Container names are matched without regard to case.
    UniqueCryptProv again = OpenToken(L"KEYINFRA-SHARED", CRYPT_SILENT);
    UniqueCryptHash hash;
    ASSERT_TRUE(CryptCreateHash(again.get(), CALG_SHA1, 0, 0, hash.put()));
    DWORD size = 0;
    EXPECT_TRUE(CryptSignHashW(hash.get(), AT_SIGNATURE, nullptr, 0, nullptr, &size)) << GetLastError();
    EXPECT_EQ(SignAndVerify(other, Prompt::silent), static_cast<DWORD>(NTE_SILENT_CONTEXT));
}

TEST_F(SoftTokenTest, contextReportsItsContainer)
{
    InstallTokenCert(L"keyinfra-named");
    UniqueCryptProv prov = OpenToken(L"keyinfra-named", CRYPT_SILENT);
    char name[128] = {};
    DWORD size = sizeof(name);
    ASSERT_TRUE(CryptGetProvParam(prov.get(), PP_CONTAINER, reinterpret_cast<BYTE*>(name), &size, 0));
    EXPECT_STREQ(name, "keyinfra-named");
}

TEST_F(SoftTokenTest, clearStore_deletesTheTokenContainerAndItsPin)
{
    InstallTokenCert(L"keyinfra-deleted");
    ClearStore(L"MY", true);

    HCRYPTPROV prov = 0;
    EXPECT_FALSE(CryptAcquireContextW(&prov, L"keyinfra-deleted", KEYINFRA_SOFTTOKEN_PROV_W, PROV_RSA_FULL, CRYPT_SILENT));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_KEYSET));
    // Made again without a PIN, the container accepts the old one no more.
    InstallTokenCert(L"keyinfra-deleted", nullptr);
    EXPECT_EQ(PresentPin(L"keyinfra-deleted", kPin), static_cast<DWORD>(SCARD_W_WRONG_CHV));
}

TEST_F(SoftTokenTest, installerCommandLine_makesATokenKeyWithItsPin)
{
    std::ostringstream out, err;
    ASSERT_EQ(RunCertInstaller({L"add", L"--provider", L"softtoken", L"--pin", L"9876", L"--ca", L"CN=KeyInfra Token CA",
                                L"--container", L"keyinfra-cli", L"--serial", L"0C11"},
                               out, err),
              0)
        << err.str();
    EXPECT_NE(out.str().find("\nprovider=" KEYINFRA_SOFTTOKEN_PROV_A "\ncontainer=keyinfra-cli\n"), std::string::npos) << out.str();
    EXPECT_EQ(PresentPin(L"keyinfra-cli", kPin), static_cast<DWORD>(SCARD_W_WRONG_CHV));
    EXPECT_EQ(PresentPin(L"keyinfra-cli", "9876"), 0u);
    EXPECT_EQ(SignAndVerify("0C11", Prompt::silent), 0u);
}

} // namespace
