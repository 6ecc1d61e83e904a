// Drawing: IViewObjectEx for containers that draw the control themselves,
// and IDataObject for those that ask for a picture of it.
#include "ControlBase.h"

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                               BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR)
{
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc) return E_INVALIDARG;
    RECT area;
    if (bounds) {
        area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    } else if (inPlaceActive_ && windowless_) {
        area = position_;
    } else {
        return E_INVALIDARG;
    }
    return OnDraw(dc, area);
}

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink)
{
    viewSink_ = ComPtr<IAdviseSink>::Share(sink);
    viewAspects_ = aspects;
    viewFlags_ = flags;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink)
{
    if (aspects) *aspects = viewAspects_;
    if (flags) *flags = viewFlags_;
    if (sink) *sink = ComPtr<IAdviseSink>::Share(viewSink_.get()).detach();
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size)
{
    return GetExtent(aspect, size);
}

STDMETHODIMP ControlBase::GetViewStatus(DWORD* status)
{
    if (!status) return E_POINTER;
    *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result)
{
    if (!bounds || !result) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    *result = PtInRect(bounds, point) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT rect, LONG, DWORD* result)
{
    if (!bounds || !rect || !result) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    RECT common;
    *result = IntersectRect(&common, bounds, rect) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP ControlBase::GetNaturalExtent(DWORD aspect, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO* info, LPSIZEL size)
{
    if (!info || !size) return E_POINTER;
    if (aspect != DVASPECT_CONTENT || info->dwExtentMode != DVEXTENT_CONTENT) return E_NOTIMPL;
    *size = naturalExtent_;
    return S_OK;
}

namespace {
bool IsContentMetafile(const FORMATETC* format)
{
    return format->cfFormat == CF_METAFILEPICT && format->dwAspect == DVASPECT_CONTENT &&
           (format->tymed & TYMED_MFPICT) != 0;
}
} // namespace

STDMETHODIMP ControlBase::GetData(FORMATETC* format, STGMEDIUM* medium)
{
    if (!format || !medium) return E_POINTER;
    if (!IsContentMetafile(format)) return DV_E_FORMATETC;
    return RenderMetafile(medium);
}

STDMETHODIMP ControlBase::QueryGetData(FORMATETC* format)
{
    if (!format) return E_POINTER;
    return IsContentMetafile(format) ? S_OK : DV_E_FORMATETC;
}

// A metafile picture of the content at its extent, in HIMETRIC units.
HRESULT ControlBase::RenderMetafile(STGMEDIUM* medium)
{
    HDC recorder = CreateMetaFileW(nullptr);
    if (!recorder) return E_OUTOFMEMORY;
    SetWindowOrgEx(recorder, 0, 0, nullptr);
    SetWindowExtEx(recorder, extent_.cx, extent_.cy, nullptr);
    const RECT bounds = {0, 0, extent_.cx, extent_.cy};
    const HRESULT drawn = OnDraw(recorder, bounds);
    HMETAFILE metafile = CloseMetaFile(recorder);
    if (FAILED(drawn) || !metafile) {
        if (metafile) DeleteMetaFile(metafile);
        return FAILED(drawn) ? drawn : E_OUTOFMEMORY;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(METAFILEPICT));
    if (!memory) {
        DeleteMetaFile(metafile);
        return E_OUTOFMEMORY;
    }
    auto* picture = static_cast<METAFILEPICT*>(GlobalLock(memory));
    picture->mm = MM_ANISOTROPIC;
    picture->xExt = extent_.cx;
    picture->yExt = extent_.cy;
    picture->hMF = metafile;
    GlobalUnlock(memory);
    medium->tymed = TYMED_MFPICT;
    medium->hMetaFilePict = memory;
    medium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP ControlBase::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats)
{
    return OleRegEnumFormatEtc(*identity_.clsid, direction, formats);
}

STDMETHODIMP ControlBase::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection)
{
    if (!dataAdvise_) {
        const HRESULT hr = CreateDataAdviseHolder(dataAdvise_.put());
        if (FAILED(hr)) return hr;
    }
    return dataAdvise_->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP ControlBase::DUnadvise(DWORD connection)
{
    return dataAdvise_ ? dataAdvise_->Unadvise(connection) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ControlBase::EnumDAdvise(IEnumSTATDATA** advises)
{
    if (!advises) return E_POINTER;
    *advises = nullptr;
    return dataAdvise_ ? dataAdvise_->EnumAdvise(advises) : E_FAIL;
}
