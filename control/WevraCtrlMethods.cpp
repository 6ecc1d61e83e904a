// The COM boundary of the eight methods: each calls its function in
// CertMethods.h and maps whatever happens to the contract's result. Every
// method answers S_OK (GetVersion may answer S_FALSE); failures show as an
// empty text or 0. A null result pointer from an early-bound caller is E_POINTER.
#include <new>

#include "CertMethods.h"
#include "Handles.h"
#include "TextConv.h"
#include "WevraCtrl.h"

namespace {

BSTR EmptyIfNull(UniqueBstr text) { return text ? text.release() : SysAllocString(L""); }

UniqueBstr WideBstr(const std::wstring& text)
{
    UniqueBstr out(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    if (!out) throw std::bad_alloc();
    return out;
}

// The one try/catch of a method with a text result.
template <class Work>
HRESULT TextResult(BSTR* result, Work work)
{
    if (!result) return E_POINTER;
    UniqueBstr text;
    try {
        text = work();
    } catch (...) {
        text.reset();
    }
    *result = EmptyIfNull(std::move(text));
    return S_OK;
}

// The one try/catch of a method with a number result.
template <class Work>
HRESULT NumberResult(long* result, Work work)
{
    if (!result) return E_POINTER;
    long number = 0;
    try {
        number = work();
    } catch (...) {
        number = 0;
    }
    *result = number;
    return S_OK;
}

} // namespace

STDMETHODIMP CWevraCtrl::SelectCert(BSTR bstrFilter, short sAutoSelected, long hwndParent, BSTR* bstrCertSerialNum)
{
    return TextResult(bstrCertSerialNum,
                      [&] { return WideBstr(wevra::SelectCert(bstrFilter, sAutoSelected, hwndParent)); });
}

STDMETHODIMP CWevraCtrl::ExportUserCert(BSTR bstrCertSerialNum, long lFlag, BSTR* bstrCertB64)
{
    return TextResult(bstrCertB64,
                      [&] { return AnsiToBstr(wevra::ExportUserCert(bstrCertSerialNum, lFlag).c_str()); });
}

STDMETHODIMP CWevraCtrl::GetCertInfo(BSTR bstrCertB64, long lInfoType, BSTR* bstrCertInfo)
{
    return TextResult(bstrCertInfo, [&] { return AnsiToBstr(wevra::GetCertInfo(bstrCertB64, lInfoType).c_str()); });
}

STDMETHODIMP CWevraCtrl::SignData(BSTR bstrCertSerialNum, long signType, BSTR bstrOriginal, BSTR* bstrSignResultB64)
{
    return TextResult(bstrSignResultB64, [&] {
        return AnsiToBstr(wevra::SignData(bstrCertSerialNum, signType, bstrOriginal).c_str());
    });
}

STDMETHODIMP CWevraCtrl::VerifySignData(BSTR bstrCertB64, long signType, BSTR bstrOriginal, BSTR bstrSignResultB64,
                                        long* verifyResult)
{
    return NumberResult(verifyResult, [&] {
        return wevra::VerifySignData(bstrCertB64, signType, bstrOriginal, bstrSignResultB64);
    });
}

STDMETHODIMP CWevraCtrl::VerifyCertPin(BSTR bstrCertSerialNum, BSTR bstrPin, long* verifyResult)
{
    return NumberResult(verifyResult, [&] { return wevra::VerifyCertPin(bstrCertSerialNum, bstrPin); });
}

STDMETHODIMP CWevraCtrl::GetVersion(BSTR* bstrVersion)
{
    if (!bstrVersion) return E_POINTER;
    HRESULT hr = S_OK;
    UniqueBstr text;
    try {
        std::wstring version;
        hr = wevra::GetVersion(version);
        text = WideBstr(version);
    } catch (...) {
        text.reset();
    }
    *bstrVersion = EmptyIfNull(std::move(text));
    return hr;
}

STDMETHODIMP CWevraCtrl::ImportTrustCert(long lID, long* plRes)
{
    return NumberResult(plRes, [&] { return wevra::ImportTrustCert(lID); });
}
