// Embedding and activation: IOleObject, IOleControl, and in-place activation
// in a window of the control's own or windowless in the container's.
#include <cwchar>

#include "ControlBase.h"
#include "ServerModule.h"

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site)
{
    clientSite_ = ComPtr<IOleClientSite>::Share(site);
    return S_OK;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site)
{
    if (!site) return E_POINTER;
    *site = ComPtr<IOleClientSite>::Share(clientSite_.get()).detach();
    return S_OK;
}

STDMETHODIMP ControlBase::Close(DWORD)
{
    InPlaceDeactivate();
    if (oleAdvise_) oleAdvise_->SendOnClose();
    oleAdvise_.reset();
    dataAdvise_.reset();
    return S_OK;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT position)
{
    if (site && !clientSite_) SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return Activate(verb, position);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (window_) ShowWindow(window_, SW_HIDE);
        return S_OK;
    case OLEIVERB_OPEN:
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** verbs) { return OleRegEnumVerbs(*identity_.clsid, verbs); }

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid)
{
    if (!clsid) return E_POINTER;
    *clsid = *identity_.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserType(DWORD form, LPOLESTR* name)
{
    return OleRegGetUserType(*identity_.clsid, form, name);
}

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size)
{
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    extent_ = *size;
    Invalidate();
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size)
{
    if (!size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    *size = extent_;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* connection)
{
    if (!oleAdvise_) {
        const HRESULT hr = CreateOleAdviseHolder(oleAdvise_.put());
        if (FAILED(hr)) return hr;
    }
    return oleAdvise_->Advise(sink, connection);
}

STDMETHODIMP ControlBase::Unadvise(DWORD connection)
{
    return oleAdvise_ ? oleAdvise_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** advises)
{
    if (!advises) return E_POINTER;
    *advises = nullptr;
    return oleAdvise_ ? oleAdvise_->EnumAdvise(advises) : E_FAIL;
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD aspect, DWORD* status)
{
    return OleRegGetMiscStatus(*identity_.clsid, aspect, status);
}

STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze)
{
    freezeCount_ += freeze ? 1 : -1;
    return S_OK;
}

// In-place activation: asks the site, tells it, takes the position it gives,
// and makes a window unless the site draws the control windowless.
HRESULT ControlBase::Activate(LONG verb, LPCRECT position)
{
    if (!clientSite_) return S_OK;
    if (!inPlaceActive_) {
        windowlessSite_ = clientSite_.As<IOleInPlaceSiteWindowless>(IID_IOleInPlaceSiteWindowless);
        inPlaceSite_ = clientSite_.As<IOleInPlaceSite>(IID_IOleInPlaceSite);
        if (!inPlaceSite_) return E_FAIL;
        const HRESULT can = inPlaceSite_->CanInPlaceActivate();
        if (can != S_OK) {
            inPlaceSite_.reset();
            windowlessSite_.reset();
            return FAILED(can) ? can : E_FAIL;
        }
        windowless_ = windowlessSite_ && windowlessSite_->CanWindowlessActivate() == S_OK;
        inPlaceActive_ = true;
        if (windowlessSite_) {
            BOOL noRedraw = FALSE;
            windowlessSite_->OnInPlaceActivateEx(&noRedraw, windowless_ ? ACTIVATE_WINDOWLESS : 0);
        } else {
            inPlaceSite_->OnInPlaceActivate();
        }

        RECT site = {0, 0, 0, 0};
        RECT clip = {0, 0, 0, 0};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof(frameInfo);
        inPlaceSite_->GetWindowContext(frame_.put(), document_.put(), &site, &clip, &frameInfo);
        position_ = position ? *position : site;

        if (!windowless_) {
            HWND parent = nullptr;
            inPlaceSite_->GetWindow(&parent);
            const HRESULT made = CreateControlWindow(parent, position_);
            if (FAILED(made)) {
                InPlaceDeactivate();
                return made;
            }
        }
    }

    if ((verb == OLEIVERB_PRIMARY || verb == OLEIVERB_UIACTIVATE) && !uiActive_) {
        uiActive_ = true;
        if (windowlessSite_) windowlessSite_->SetFocus(TRUE);
        inPlaceSite_->OnUIActivate();
        if (window_) ::SetFocus(window_);
        if (frame_) frame_->SetActiveObject(this, nullptr);
        if (document_) document_->SetActiveObject(this, nullptr);
        if (frame_) frame_->SetBorderSpace(nullptr);
        if (document_) document_->SetBorderSpace(nullptr);
    }
    if (window_) ShowWindow(window_, SW_SHOW);
    return S_OK;
}

STDMETHODIMP ControlBase::GetWindow(HWND* window)
{
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::InPlaceDeactivate()
{
    if (!inPlaceActive_) return S_OK;
    UIDeactivate();
    inPlaceActive_ = false;
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (windowlessSite_)
        windowlessSite_->OnInPlaceDeactivateEx(TRUE);
    else if (inPlaceSite_)
        inPlaceSite_->OnInPlaceDeactivate();
    windowlessSite_.reset();
    inPlaceSite_.reset();
    frame_.reset();
    document_.reset();
    windowless_ = false;
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate()
{
    if (!uiActive_) return S_OK;
    uiActive_ = false;
    if (frame_) frame_->SetActiveObject(nullptr, nullptr);
    if (document_) document_->SetActiveObject(nullptr, nullptr);
    if (windowlessSite_) windowlessSite_->SetFocus(FALSE);
    if (inPlaceSite_) inPlaceSite_->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT position, LPCRECT)
{
    if (!position) return E_POINTER;
    position_ = *position;
    if (window_)
        SetWindowPos(window_, nullptr, position_.left, position_.top, position_.right - position_.left,
                     position_.bottom - position_.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

STDMETHODIMP ControlBase::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    bool handled = false;
    const LRESULT answer = OnMessage(message, wParam, lParam, handled);
    if (result) *result = answer;
    return handled ? S_OK : S_FALSE;
}

// Asks the container to draw the control again.
void ControlBase::Invalidate()
{
    if (window_)
        InvalidateRect(window_, nullptr, TRUE);
    else if (windowless_ && windowlessSite_)
        windowlessSite_->InvalidateRect(nullptr, TRUE);
    if (viewSink_) viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
}

// The window class is made once per process, named after its address.
HRESULT ControlBase::CreateControlWindow(HWND parent, const RECT& position)
{
    static wchar_t className[32];
    static ATOM registered = [] {
        swprintf(className, sizeof(className) / sizeof(className[0]), L"ATL:%p",
                 reinterpret_cast<void*>(&ControlBase::WindowProc));
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = &ControlBase::WindowProc;
        windowClass.hInstance = ServerModuleHandle();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.lpszClassName = className;
        return RegisterClassExW(&windowClass);
    }();
    if (!registered) return HRESULT_FROM_WIN32(GetLastError());
    window_ = CreateWindowExW(0, className, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, position.left,
                              position.top, position.right - position.left, position.bottom - position.top, parent,
                              nullptr, ServerModuleHandle(), this);
    return window_ ? S_OK : HRESULT_FROM_WIN32(GetLastError());
}

LRESULT CALLBACK ControlBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<ControlBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (control && control->window_ == window) {
        bool handled = false;
        const LRESULT result = control->OnMessage(message, wParam, lParam, handled);
        if (handled) return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Paint, focus and mouse activation, for the control's window and for the
// messages a windowless site forwards.
LRESULT ControlBase::OnMessage(UINT message, WPARAM, LPARAM, bool& handled)
{
    handled = true;
    switch (message) {
    case WM_PAINT:
        if (window_) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            RECT client;
            GetClientRect(window_, &client);
            OnDraw(dc, client);
            EndPaint(window_, &paint);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (auto controlSite = clientSite_.As<IOleControlSite>(IID_IOleControlSite))
            controlSite->OnFocus(message == WM_SETFOCUS);
        return 0;
    case WM_MOUSEACTIVATE:
        if (!uiActive_) Activate(OLEIVERB_UIACTIVATE, nullptr);
        break;
    default:
        break;
    }
    handled = false;
    return 0;
}
