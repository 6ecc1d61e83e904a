#pragma once
// The scripting interface of WevraCtrl, as resources/WevraPlugIn.idl declares
// it for the type library: the same methods in the same v-table order.
#include <windows.h>
#include <oaidl.h>

#include "ComIds.h"

struct IWevraCtrl : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE SelectCert(BSTR bstrFilter, short sAutoSelected, long hwndParent,
                                                 BSTR* bstrCertSerialNum) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExportUserCert(BSTR bstrCertSerialNum, long lFlag, BSTR* bstrCertB64) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCertInfo(BSTR bstrCertB64, long lInfoType, BSTR* bstrCertInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE SignData(BSTR bstrCertSerialNum, long signType, BSTR bstrOriginal,
                                               BSTR* bstrSignResultB64) = 0;
    virtual HRESULT STDMETHODCALLTYPE VerifySignData(BSTR bstrCertB64, long signType, BSTR bstrOriginal,
                                                     BSTR bstrSignResultB64, long* verifyResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE VerifyCertPin(BSTR bstrCertSerialNum, BSTR bstrPin, long* verifyResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVersion(BSTR* bstrVersion) = 0;
    virtual HRESULT STDMETHODCALLTYPE ImportTrustCert(long lID, long* plRes) = 0;
};
