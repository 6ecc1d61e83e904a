#pragma once
// Test-only certificate installer: makes key pairs and certificates in the
// current user's system stores, so tests reach real CryptoAPI paths (store
// lookup, key-provider property, CryptSignMessage, PIN checks).
#include <windows.h>
#include <wincrypt.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct CertSpec {
    std::wstring subject = L"CN=KeyInfra Test";  // X.500 string
    std::optional<std::wstring> issuer;          // issuer name only; signed by the own key
    std::optional<std::wstring> caName;          // issued and signed by a test CA of this name
    std::vector<BYTE> serial;                    // most significant byte first; empty: random
    std::optional<BYTE> keyUsage = BYTE{CERT_DIGITAL_SIGNATURE_KEY_USAGE};  // none: no extension
    std::optional<FILETIME> notBefore;           // none: now less one day
    std::optional<FILETIME> notAfter;            // none: now plus 365 days
    DWORD keyBits = 1024;
    DWORD keySpec = AT_SIGNATURE;
    std::wstring provider;                       // empty: the default PROV_RSA_FULL provider
    std::wstring container;                      // empty: keyinfra-<serial>
    std::optional<std::string> pin;              // soft-token provider only
    DWORD provInfoFlags = 0;
    bool withKey = true;                         // false: no key-provider property
    std::wstring store = L"MY";
};

struct InstalledCert {
    std::vector<BYTE> der;
    std::string serial;      // serial text, most significant byte first
    std::wstring provider;   // empty without key
    std::wstring container;  // empty without key
    std::vector<BYTE> caDer; // empty unless issued by a test CA
};

// Throws HResultError on any failure of the platform.
InstalledCert InstallCertificate(const CertSpec& spec);

// Adds a DER certificate as it is, without key-provider property.
void AddEncodedCertificate(const std::vector<BYTE>& der, const std::wstring& store);

// Deletes every certificate of the store and, if deleteKeys, the containers
// their key-provider properties name.
void ClearStore(const std::wstring& store, bool deleteKeys);

// The store's certificates in enumeration order.
struct StoreEntry {
    std::string serial;
    std::wstring container;  // empty without key-provider property
    std::wstring subject;
};
std::vector<StoreEntry> ListStore(const std::wstring& store);

// Registers the soft-token CSP at dllPath in this process's registry view.
void RegisterSoftTokenProvider(const std::wstring& dllPath);
void UnregisterSoftTokenProvider();
// The soft-token DLL beside the running program.
std::wstring SoftTokenDllBesideProgram();

// The command line of certinstall.exe (without the program name): prints
// key=value lines to out, messages to err; returns the exit status.
int RunCertInstaller(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err);
