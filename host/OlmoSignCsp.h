#pragma once
// The vendor signing library OlmoSignCsp.dll: five __stdcall functions with
// undecorated export names. Texts are zero-terminated UTF-16; every result is
// a 32-bit integer. Pelorin links the library by import.
#include <windows.h>

#ifdef OLMOSIGNCSP_BUILDING
#define OLMOSIGNCSP_API
#else
#define OLMOSIGNCSP_API __declspec(dllimport)
#endif

extern "C" {

// Lets the user pick a certificate whose issuer matches the filter; writes its
// serial text, zero-terminated, into serial (serialUnits units). Not 0: chosen.
OLMOSIGNCSP_API int __stdcall CSP_SelectCertForIssuerDialog(HWND owner, const wchar_t* issuer, wchar_t* serial,
                                                            int serialUnits);

// Writes the DER certificate of the serial into cert; returns its byte count,
// 0 or less on failure.
OLMOSIGNCSP_API int __stdcall CSP_GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, int certSize);

// Signs data into an attached PKCS#7 message with the serial's key; returns the
// message's byte count, 0 or less on failure.
OLMOSIGNCSP_API int __stdcall CSP_SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data,
                                                        int dataLength, unsigned char* sign, int signSize);

// Greater than 0: sign is a valid PKCS#7 message over exactly data.
OLMOSIGNCSP_API int __stdcall CSP_CSPVerifySignPKCS7(const unsigned char* data, int dataLength,
                                                     const unsigned char* sign, int signLength);

// Not 0: pin is the right PIN of the serial's key.
OLMOSIGNCSP_API int __stdcall CSP_VerifyCertPin(const wchar_t* serial, const wchar_t* pin);
}
