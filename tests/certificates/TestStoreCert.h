#pragma once
// Test certificates made at run time: an RSA key in its own container of the
// default provider (generated here, never stored in the tree), a certificate
// signed by that key with the names, serial and key usage a test asks for, and
// its entry in the current user's "MY" store. The destructor removes both.
#include <windows.h>
#include <wincrypt.h>

#include <optional>
#include <string>
#include <vector>

struct TestCertSpec {
    std::vector<BYTE> serial;        // most significant byte first, as the serial text reads
    std::wstring subject;            // X.500 text, e.g. L"CN=Test ABC User, O=Certops Test"
    std::wstring issuer;             // empty: same as subject
    std::optional<BYTE> keyUsage = CERT_DIGITAL_SIGNATURE_KEY_USAGE; // nullopt: no key-usage extension
    bool withKeyProvInfo = true;     // false: a certificate without a private key
    size_t paddingBytes = 0;         // an extra extension of this size, for large encodings
};

class TestStoreCert {
public:
    explicit TestStoreCert(TestCertSpec spec);
    ~TestStoreCert();
    TestStoreCert(const TestStoreCert&) = delete;
    TestStoreCert& operator=(const TestStoreCert&) = delete;

    const std::string& Der() const { return der_; }
    // The serial text of these bytes: upper-case hex, most significant byte first.
    std::wstring SerialText() const;
    const std::wstring& Container() const { return container_; }

private:
    TestCertSpec spec_;
    std::wstring container_;
    std::string der_;
};

// A detached PKCS#7 signature of data by the certificate's key (SHA-1, the
// certificate included): a message without content.
std::string SignDetached(const TestStoreCert& signer, const std::string& data);

// Upper-case hex of bytes, most significant first: the serial text they read as.
std::wstring HexText(const std::vector<BYTE>& bytes);

// Removes every certificate of the "MY" store with this serial text.
void RemoveBySerial(const std::wstring& serial);

// The serial texts of the store's certificates, in the order the store enumerates them.
std::vector<std::wstring> StoreOrder();

// Makes the DER of a certificate signed by a fresh key in container, with no
// store entry; the key stays in the container.
std::string MakeCertificate(const TestCertSpec& spec, const std::wstring& container);

// Removes the key container, if it exists.
void DeleteContainer(const std::wstring& container, const wchar_t* provider = nullptr, DWORD provType = PROV_RSA_FULL);

std::string Bytes(const char* text, size_t length);
std::wstring Widen(const std::string& ascii);
