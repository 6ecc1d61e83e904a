#pragma once
// A self-signed certificate with an RSA signature key in a chosen provider,
// added to the current user's "MY" store for the life of the object; the
// certificate and the key container are removed again at its end.
#include <windows.h>
#include <wincrypt.h>

#include <string>
#include <vector>

class TestCert {
public:
    TestCert(const wchar_t* provider, DWORD provType, const std::wstring& subject);
    ~TestCert();
    TestCert(const TestCert&) = delete;
    TestCert& operator=(const TestCert&) = delete;

    const std::vector<unsigned char>& der() const { return der_; }
    const std::wstring& serial() const { return serial_; } // upper-case hex, most significant byte first

private:
    std::wstring provider_, container_;
    DWORD provType_;
    std::vector<unsigned char> der_;
    std::wstring serial_;
};
