#pragma once
// Everything the commands reach outside the host: the vendor signing library
// OlmoSignCsp, the desktop window and message box, and the certificate field
// query. Pelorin.exe implements it over the real ones; tests replace it.
#include <cstdint>
#include <string>

class HostPlatform {
public:
    virtual ~HostPlatform() = default;

    // Brings the desktop window to the top and returns it, as the owner of
    // the selection dialog.
    virtual std::uintptr_t PrepareDialogOwner() = 0;
    // Shows a message box without an owner, OK and Cancel buttons.
    virtual void ShowMessage(const wchar_t* text, const wchar_t* caption) = 0;

    // OlmoSignCsp's five functions; texts are zero-terminated.
    virtual std::int32_t SelectCertForIssuerDialog(std::uintptr_t owner, const wchar_t* issuer, wchar_t* serial,
                                                   std::int32_t serialUnits) = 0;
    virtual std::int32_t GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, std::int32_t certSize) = 0;
    virtual std::int32_t SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data,
                                               std::int32_t dataLength, unsigned char* sign, std::int32_t signSize) = 0;
    virtual std::int32_t CSPVerifySignPKCS7(const unsigned char* data, std::int32_t dataLength,
                                            const unsigned char* sign, std::int32_t signLength) = 0;
    virtual std::int32_t VerifyCertPin(const wchar_t* serial, const wchar_t* pin) = 0;

    // One field of a Base64 certificate; "" when there is none.
    virtual std::string QueryCertInfo(const std::string& certBase64, std::int32_t infoType) = 0;
};
