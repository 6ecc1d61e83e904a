#pragma once
// A certificate in the personal store whose key sits behind the test key
// infrastructure's PIN-protected soft-token provider; removed again at the end.
#include <string>
#include <vector>

#include "CertInstaller.h"
#include "SoftTokenProvider.h"
#include "TestStoreCert.h"

class TokenCert {
public:
    TokenCert(std::vector<BYTE> serial, const char* pin)
    {
        CertSpec spec;
        spec.subject = L"CN=Token PQ7, O=Certops Test";
        spec.serial = std::move(serial);
        spec.provider = KEYINFRA_SOFTTOKEN_PROV_W;
        spec.pin = pin;
        serial_ = HexText(spec.serial);
        RemoveBySerial(serial_);
        InstallCertificate(spec);
    }
    ~TokenCert() { RemoveBySerial(serial_); }
    TokenCert(const TokenCert&) = delete;
    TokenCert& operator=(const TokenCert&) = delete;
    const std::wstring& Serial() const { return serial_; }

private:
    std::wstring serial_;
};
