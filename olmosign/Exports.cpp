// The library's five entry points. Each is a boundary: nothing escapes as an
// exception, every failure is the result 0, and no write goes past the
// caller's buffer size.
#define OLMOSIGNCSP_BUILDING
#include "OlmoSignCsp.h"

#include <cstring>
#include <string>
#include <vector>

#include "PersonalStore.h"
#include "PinCheck.h"
#include "SelectCertificate.h"
#include "Signing.h"
#include "WideText.h"

namespace {

template <typename Body>
int Boundary(Body body) noexcept
{
    try {
        return body();
    } catch (...) {
        return 0;
    }
}

int CopyOut(const unsigned char* bytes, std::size_t length, unsigned char* out, int outSize)
{
    if (out == nullptr || outSize <= 0 || length == 0 || length > static_cast<std::size_t>(outSize)) return 0;
    std::memcpy(out, bytes, length);
    return static_cast<int>(length);
}

} // namespace

extern "C" {

int __stdcall CSP_SelectCertForIssuerDialog(HWND owner, const wchar_t* issuer, wchar_t* serial, int serialUnits)
{
    return Boundary([&] {
        if (serial == nullptr || serialUnits <= 0) return 0;
        const std::wstring chosen = SelectCertificateSerial(owner, issuer ? UnwidenUtf8(issuer) : std::wstring());
        if (chosen.empty() || chosen.size() + 1 > static_cast<std::size_t>(serialUnits)) return 0;
        std::memcpy(serial, chosen.c_str(), (chosen.size() + 1) * sizeof(wchar_t));
        return 1;
    });
}

int __stdcall CSP_GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, int certSize)
{
    return Boundary([&] {
        if (serial == nullptr) return 0;
        UniqueCertStore store = OpenPersonalStore();
        UniqueCertContext found = FindBySerial(store.get(), serial);
        if (!found) return 0;
        return CopyOut(found.get()->pbCertEncoded, found.get()->cbCertEncoded, cert, certSize);
    });
}

int __stdcall CSP_SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data, int dataLength,
                                        unsigned char* sign, int signSize)
{
    return Boundary([&] {
        if (serial == nullptr || dataLength < 0 || (data == nullptr && dataLength != 0)) return 0;
        UniqueCertStore store = OpenPersonalStore();
        UniqueCertContext found = FindBySerial(store.get(), serial);
        if (!found) return 0;
        const std::vector<unsigned char> message = SignAttached(found.get(), data, static_cast<DWORD>(dataLength));
        return CopyOut(message.data(), message.size(), sign, signSize);
    });
}

int __stdcall CSP_CSPVerifySignPKCS7(const unsigned char* data, int dataLength, const unsigned char* sign,
                                     int signLength)
{
    return Boundary([&] {
        if (dataLength < 0 || signLength <= 0 || sign == nullptr || (data == nullptr && dataLength != 0)) return 0;
        return VerifyAttached(data, static_cast<DWORD>(dataLength), sign, static_cast<DWORD>(signLength)) ? 1 : 0;
    });
}

int __stdcall CSP_VerifyCertPin(const wchar_t* serial, const wchar_t* pin)
{
    return Boundary([&] {
        if (serial == nullptr || pin == nullptr) return 0;
        const std::optional<std::string> pinBytes = UnwidenBytes(pin);
        if (!pinBytes) return 0;
        UniqueCertStore store = OpenPersonalStore();
        UniqueCertContext found = FindBySerial(store.get(), serial);
        if (!found) return 0;
        return CheckKeyPin(found.get(), *pinBytes) ? 1 : 0;
    });
}
}
