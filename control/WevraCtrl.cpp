#include "WevraCtrl.h"

#include <iterator>

#include "EPassCatch.h"

InterfaceTable<CWevraCtrl> CWevraCtrl::Interfaces() noexcept
{
    static const InterfaceEntry<CWevraCtrl> table[] = {
        Answer<CWevraCtrl, IWevraCtrl>(IID_IWevraCtrl),
        Answer<CWevraCtrl, IDispatch, IWevraCtrl>(IID_IDispatch),
    };
    return {std::begin(table), std::end(table)};
}

CWevraCtrl::CWevraCtrl(IUnknown* outer) noexcept
    : ComObject(outer), dispatchInfo_(LIBID_WevraPlugInLib, kTypeLibMajor, kTypeLibMinor, IID_IWevraCtrl)
{
    AdjustEPassCatch();
}

STDMETHODIMP CWevraCtrl::GetTypeInfoCount(UINT* count) { return dispatchInfo_.GetTypeInfoCount(count); }

STDMETHODIMP CWevraCtrl::GetTypeInfo(UINT index, LCID, ITypeInfo** typeInfo)
{
    return dispatchInfo_.GetTypeInfo(index, typeInfo);
}

STDMETHODIMP CWevraCtrl::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    return dispatchInfo_.GetIDsOfNames(riid, names, count, ids);
}

STDMETHODIMP CWevraCtrl::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO* exception, UINT* argError)
{
    return dispatchInfo_.Invoke(static_cast<IWevraCtrl*>(this), id, riid, flags, params, result, exception, argError);
}
