#pragma once
// The host's platform in Pelorin.exe: OlmoSignCsp.dll, user32 and the shared
// certificate field query.
#include "HostPlatform.h"

class OlmoSignPlatform final : public HostPlatform {
public:
    std::uintptr_t PrepareDialogOwner() override;
    void ShowMessage(const wchar_t* text, const wchar_t* caption) override;
    std::int32_t SelectCertForIssuerDialog(std::uintptr_t owner, const wchar_t* issuer, wchar_t* serial,
                                           std::int32_t serialUnits) override;
    std::int32_t GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, std::int32_t certSize) override;
    std::int32_t SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data, std::int32_t dataLength,
                                       unsigned char* sign, std::int32_t signSize) override;
    std::int32_t CSPVerifySignPKCS7(const unsigned char* data, std::int32_t dataLength, const unsigned char* sign,
                                    std::int32_t signLength) override;
    std::int32_t VerifyCertPin(const wchar_t* serial, const wchar_t* pin) override;
    std::string QueryCertInfo(const std::string& certBase64, std::int32_t infoType) override;
};
