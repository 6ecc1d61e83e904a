#pragma once
// The work behind the eight methods of IWevraCtrl, one function per method,
// each in the file named after it. They take the method's arguments as the
// caller passed them and return the result; they may throw, and the COM
// method that calls them (WevraCtrlMethods.cpp) turns any failure into the
// empty result. Texts returned as std::string are in the ANSI code page.
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace wevra {

std::wstring SelectCert(BSTR bstrFilter, short sAutoSelected, long hwndParent);
std::string ExportUserCert(BSTR bstrCertSerialNum, long lFlag);
std::string GetCertInfo(BSTR bstrCertB64, long lInfoType);
std::string SignData(BSTR bstrCertSerialNum, long signType, BSTR bstrOriginal);
long VerifySignData(BSTR bstrCertB64, long signType, BSTR bstrOriginal, BSTR bstrSignResultB64);
long VerifyCertPin(BSTR bstrCertSerialNum, BSTR bstrPin);
// S_OK, or S_FALSE when the DLL's own version information cannot be had.
HRESULT GetVersion(std::wstring& version);
long ImportTrustCert(long lID);

} // namespace wevra
