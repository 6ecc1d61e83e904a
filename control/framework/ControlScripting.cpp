// What a script host asks of a control: safety options, error information,
// class information, the events connection point, and quick activation.
#include <new>
#include <vector>

#include "ControlBase.h"
#include "Enumerator.h"

ControlBase::ControlBase(const ControlIdentity& identity) noexcept
    : identity_(identity),
      classInfo_(*identity.libid, identity.major, identity.minor, *identity.clsid),
      events_(*this, *identity.eventsIid)
{
}

ControlBase::~ControlBase()
{
    if (window_) DestroyWindow(window_);
}

STDMETHODIMP ControlBase::GetInterfaceSafetyOptions(REFIID riid, DWORD* supported, DWORD* enabled)
{
    if (!supported || !enabled) return E_POINTER;
    ComPtr<IUnknown> answered;
    const HRESULT hr = static_cast<IObjectSafety*>(this)->QueryInterface(riid, answered.put_void());
    if (FAILED(hr)) {
        *supported = 0;
        *enabled = 0;
        return hr;
    }
    *supported = kSupportedSafety;
    *enabled = safetyOptions_;
    return S_OK;
}

STDMETHODIMP ControlBase::SetInterfaceSafetyOptions(REFIID riid, DWORD mask, DWORD enabled)
{
    ComPtr<IUnknown> answered;
    if (FAILED(static_cast<IObjectSafety*>(this)->QueryInterface(riid, answered.put_void()))) return E_NOINTERFACE;
    if (mask & ~kSupportedSafety) return E_FAIL;
    safetyOptions_ = (safetyOptions_ & ~mask) | (mask & enabled);
    return S_OK;
}

STDMETHODIMP ControlBase::InterfaceSupportsErrorInfo(REFIID riid)
{
    return IsEqualIID(riid, *identity_.scriptingIid) ? S_OK : S_FALSE;
}

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** typeInfo) { return classInfo_.Get(typeInfo); }

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid)
{
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *identity_.eventsIid;
    return S_OK;
}

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** points)
{
    try {
        const std::vector<IConnectionPoint*> list{&events_};
        return ConnectionPointEnumerator::Create(list, 0, points);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID riid, IConnectionPoint** point)
{
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(riid, events_.Iid())) return CONNECT_E_NOCONNECTION;
    *point = &events_;
    events_.AddRef();
    return S_OK;
}

STDMETHODIMP ControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control)
{
    if (!container || !control) return E_POINTER;
    if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;

    HRESULT hr = SetClientSite(container->pClientSite);
    if (FAILED(hr)) return hr;
    if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    control->dwEventCookie = 0;
    if (container->pUnkEventSink) events_.Advise(container->pUnkEventSink, &control->dwEventCookie);
    control->dwPropNotifyCookie = 0;
    GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
    GetViewStatus(&control->dwViewStatus);
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }

STDMETHODIMP ControlBase::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }
