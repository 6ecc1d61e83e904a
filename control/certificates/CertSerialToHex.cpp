#include "CertSerialToHex.h"

std::wstring CertSerialToHex(PCCERT_CONTEXT cert)
{
    if (!cert || !cert->pCertInfo) return std::wstring();
    static const wchar_t digits[] = L"0123456789ABCDEF";
    const CRYPT_INTEGER_BLOB& serial = cert->pCertInfo->SerialNumber;
    std::wstring text;
    text.reserve(serial.cbData * 2);
    // CryptoAPI stores the serial least significant byte first.
    for (DWORD i = serial.cbData; i-- > 0;) {
        text.push_back(digits[serial.pbData[i] >> 4]);
        text.push_back(digits[serial.pbData[i] & 0x0F]);
    }
    return text;
}
