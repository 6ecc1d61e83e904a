#include "OlmoSignPlatform.h"

#include <windows.h>

#include "CertInfo.h"
#include "OlmoSignCsp.h"

std::uintptr_t OlmoSignPlatform::PrepareDialogOwner()
{
    const HWND desktop = GetDesktopWindow();
    SetWindowPos(desktop, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return reinterpret_cast<std::uintptr_t>(desktop);
}

void OlmoSignPlatform::ShowMessage(const wchar_t* text, const wchar_t* caption)
{
    MessageBoxW(nullptr, text, caption, MB_OKCANCEL);
}

std::int32_t OlmoSignPlatform::SelectCertForIssuerDialog(std::uintptr_t owner, const wchar_t* issuer, wchar_t* serial,
                                                         std::int32_t serialUnits)
{
    return CSP_SelectCertForIssuerDialog(reinterpret_cast<HWND>(owner), issuer, serial, serialUnits);
}

std::int32_t OlmoSignPlatform::GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, std::int32_t certSize)
{
    return CSP_GetUserCertBySerialNum(serial, cert, certSize);
}

std::int32_t OlmoSignPlatform::SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data,
                                                     std::int32_t dataLength, unsigned char* sign,
                                                     std::int32_t signSize)
{
    return CSP_SignPKCS7ForSerialNum(serial, data, dataLength, sign, signSize);
}

std::int32_t OlmoSignPlatform::CSPVerifySignPKCS7(const unsigned char* data, std::int32_t dataLength,
                                                  const unsigned char* sign, std::int32_t signLength)
{
    return CSP_CSPVerifySignPKCS7(data, dataLength, sign, signLength);
}

std::int32_t OlmoSignPlatform::VerifyCertPin(const wchar_t* serial, const wchar_t* pin)
{
    return CSP_VerifyCertPin(serial, pin);
}

std::string OlmoSignPlatform::QueryCertInfo(const std::string& certBase64, std::int32_t infoType)
{
    return ::QueryCertInfo(certBase64, infoType);
}
