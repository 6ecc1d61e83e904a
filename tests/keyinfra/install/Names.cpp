#include "Names.h"

#include "WinError.h"

std::vector<BYTE> EncodeName(const std::wstring& x500)
{
    constexpr DWORD flags = CERT_X500_NAME_STR | CERT_NAME_STR_ENABLE_UTF8_UNICODE_FLAG;
    DWORD size = 0;
    CheckWin32(CertStrToNameW(X509_ASN_ENCODING, x500.c_str(), flags, nullptr, nullptr, &size, nullptr), "CertStrToNameW");
    std::vector<BYTE> encoded(size);
    CheckWin32(CertStrToNameW(X509_ASN_ENCODING, x500.c_str(), flags, nullptr, encoded.data(), &size, nullptr), "CertStrToNameW");
    encoded.resize(size);
    return encoded;
}

std::wstring NameText(const CERT_NAME_BLOB& name)
{
    CERT_NAME_BLOB copy = name;
    const DWORD size = CertNameToStrW(X509_ASN_ENCODING, &copy, CERT_X500_NAME_STR, nullptr, 0);
    std::wstring text(size, L'\0');
    CertNameToStrW(X509_ASN_ENCODING, &copy, CERT_X500_NAME_STR, text.data(), size);
    text.resize(size > 0 ? size - 1 : 0);
    return text;
}
