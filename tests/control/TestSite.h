#pragma once
// A container's site for one control, as small as in-place activation needs:
// it records what the control tells it, offers windowless activation when
// asked to, and gives the control its position.
#include <windows.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>
#include <vector>

class TestSite final : public IOleClientSite, public IOleInPlaceSiteWindowless {
public:
    explicit TestSite(bool offersWindowless, RECT position) : offersWindowless_(offersWindowless), position_(position) {}

    std::vector<std::string> calls;
    HRESULT canInPlaceActivate = S_OK;
    HWND window = nullptr;
    ULONG refs = 1;

    bool Called(const std::string& name) const
    {
        for (const auto& call : calls)
            if (call == name) return true;
        return false;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IOleClientSite))
            *ppv = static_cast<IOleClientSite*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IOleInPlaceSite))
            *ppv = static_cast<IOleInPlaceSite*>(this);
        else if (offersWindowless_ && (IsEqualIID(riid, IID_IOleInPlaceSiteEx) ||
                                       IsEqualIID(riid, IID_IOleInPlaceSiteWindowless)))
            *ppv = static_cast<IOleInPlaceSiteWindowless*>(this);
        if (!*ppv) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* out) override
    {
        *out = window;
        return window ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return Log("CanInPlaceActivate", canInPlaceActivate); }
    STDMETHODIMP OnInPlaceActivate() override { return Log("OnInPlaceActivate"); }
    STDMETHODIMP OnUIActivate() override { return Log("OnUIActivate"); }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO) override
    {
        *frame = nullptr;
        *document = nullptr;
        *position = position_;
        *clip = position_;
        return Log("GetWindowContext");
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return Log("OnUIDeactivate"); }
    STDMETHODIMP OnInPlaceDeactivate() override { return Log("OnInPlaceDeactivate"); }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return E_NOTIMPL; }

    // IOleInPlaceSiteEx
    STDMETHODIMP OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) override
    {
        if (noRedraw) *noRedraw = FALSE;
        return Log(flags & ACTIVATE_WINDOWLESS ? "OnInPlaceActivateEx(windowless)" : "OnInPlaceActivateEx(windowed)");
    }
    STDMETHODIMP OnInPlaceDeactivateEx(BOOL) override { return Log("OnInPlaceDeactivateEx"); }
    STDMETHODIMP RequestUIActivate() override { return S_OK; }

    // IOleInPlaceSiteWindowless
    STDMETHODIMP CanWindowlessActivate() override { return Log("CanWindowlessActivate"); }
    STDMETHODIMP GetCapture() override { return S_FALSE; }
    STDMETHODIMP SetCapture(BOOL) override { return S_OK; }
    STDMETHODIMP GetFocus() override { return S_FALSE; }
    STDMETHODIMP SetFocus(BOOL focus) override { return Log(focus ? "SetFocus(1)" : "SetFocus(0)"); }
    STDMETHODIMP GetDC(LPCRECT, DWORD, HDC*) override { return E_NOTIMPL; }
    STDMETHODIMP ReleaseDC(HDC) override { return E_NOTIMPL; }
    STDMETHODIMP InvalidateRect(LPCRECT, BOOL) override { return Log("InvalidateRect"); }
    STDMETHODIMP InvalidateRgn(HRGN, BOOL) override { return S_OK; }
    STDMETHODIMP ScrollRect(INT, INT, LPCRECT, LPCRECT) override { return E_NOTIMPL; }
    STDMETHODIMP AdjustRect(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP OnDefWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) override { return S_FALSE; }

private:
    HRESULT Log(const char* call, HRESULT hr = S_OK)
    {
        calls.emplace_back(call);
        return hr;
    }

    bool offersWindowless_;
    RECT position_;
};

// An event sink that answers the control's events dispinterface.
class EventSink final : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch) &&
            !IsEqualIID(riid, DIID__IWevraCtrlEvents))
            return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    ULONG refs = 1;
};
