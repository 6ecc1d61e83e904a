#pragma once
// CWevraCtrl, the object behind WevraCtrl: the scripting interface IWevraCtrl
// (early-bound and through IDispatch from the type library) on the control
// framework's OLE interfaces.
#include <windows.h>

#include "ComObject.h"
#include "ControlBase.h"
#include "IWevraCtrl.h"
#include "TypeInfoHolder.h"

extern const ControlIdentity kWevraCtrlIdentity;

// The bases of CWevraCtrl, with the control framework told which control it is.
class WevraCtrlBases : public IWevraCtrl, public ControlBase {
protected:
    WevraCtrlBases() noexcept : ControlBase(kWevraCtrlIdentity) {}
};

class CWevraCtrl final : public ComObject<CWevraCtrl, WevraCtrlBases> {
public:
    // The interfaces answered, in the order QueryInterface tests them.
    static InterfaceTable<CWevraCtrl> Interfaces() noexcept;

    explicit CWevraCtrl(IUnknown* outer) noexcept;

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // IWevraCtrl
    STDMETHODIMP SelectCert(BSTR bstrFilter, short sAutoSelected, long hwndParent, BSTR* bstrCertSerialNum) override;
    STDMETHODIMP ExportUserCert(BSTR bstrCertSerialNum, long lFlag, BSTR* bstrCertB64) override;
    STDMETHODIMP GetCertInfo(BSTR bstrCertB64, long lInfoType, BSTR* bstrCertInfo) override;
    STDMETHODIMP SignData(BSTR bstrCertSerialNum, long signType, BSTR bstrOriginal, BSTR* bstrSignResultB64) override;
    STDMETHODIMP VerifySignData(BSTR bstrCertB64, long signType, BSTR bstrOriginal, BSTR bstrSignResultB64,
                                long* verifyResult) override;
    STDMETHODIMP VerifyCertPin(BSTR bstrCertSerialNum, BSTR bstrPin, long* verifyResult) override;
    STDMETHODIMP GetVersion(BSTR* bstrVersion) override;
    STDMETHODIMP ImportTrustCert(long lID, long* plRes) override;

private:
    HRESULT OnDraw(HDC dc, const RECT& bounds) override;

    TypeInfoHolder dispatchInfo_;
};
