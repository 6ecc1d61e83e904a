#include "WevraCtrl.h"

#include <iterator>

#include "EPassCatch.h"

const ControlIdentity kWevraCtrlIdentity = {
    &CLSID_WevraCtrl, &IID_IWevraCtrl, &DIID__IWevraCtrlEvents, &LIBID_WevraPlugInLib, kTypeLibMajor, kTypeLibMinor,
};

InterfaceTable<CWevraCtrl> CWevraCtrl::Interfaces() noexcept
{
    static const InterfaceEntry<CWevraCtrl> table[] = {
        Answer<CWevraCtrl, IWevraCtrl>(IID_IWevraCtrl),
        Answer<CWevraCtrl, IDispatch, IWevraCtrl>(IID_IDispatch),
        Answer<CWevraCtrl, IViewObjectEx>(IID_IViewObjectEx),
        Answer<CWevraCtrl, IViewObject2, IViewObjectEx>(IID_IViewObject2),
        Answer<CWevraCtrl, IViewObject, IViewObjectEx>(IID_IViewObject),
        Answer<CWevraCtrl, IOleInPlaceObjectWindowless>(IID_IOleInPlaceObjectWindowless),
        Answer<CWevraCtrl, IOleInPlaceObject, IOleInPlaceObjectWindowless>(IID_IOleInPlaceObject),
        Answer<CWevraCtrl, IOleWindow, IOleInPlaceObjectWindowless>(IID_IOleWindow),
        Answer<CWevraCtrl, IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject),
        Answer<CWevraCtrl, IOleControl>(IID_IOleControl),
        Answer<CWevraCtrl, IOleObject>(IID_IOleObject),
        Answer<CWevraCtrl, ISupportErrorInfo>(IID_ISupportErrorInfo),
        Answer<CWevraCtrl, IConnectionPointContainer>(IID_IConnectionPointContainer),
        Answer<CWevraCtrl, IQuickActivate>(IID_IQuickActivate),
        Answer<CWevraCtrl, IDataObject>(IID_IDataObject),
        Answer<CWevraCtrl, IProvideClassInfo, IProvideClassInfo2>(IID_IProvideClassInfo),
        Answer<CWevraCtrl, IProvideClassInfo2>(IID_IProvideClassInfo2),
        Answer<CWevraCtrl, IObjectSafety>(IID_IObjectSafety),
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

// A framed box with the control's name in its middle.
HRESULT CWevraCtrl::OnDraw(HDC dc, const RECT& bounds)
{
    HRGN clip = CreateRectRgn(bounds.left, bounds.top, bounds.right, bounds.bottom);
    const bool clipped = clip && SelectClipRgn(dc, clip) != ERROR;
    Rectangle(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    static const wchar_t kText[] = L"WevraCtrl";
    TextOutW(dc, (bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2, kText,
             static_cast<int>(std::size(kText) - 1));
    if (clipped) SelectClipRgn(dc, nullptr);
    if (clip) DeleteObject(clip);
    return S_OK;
}
