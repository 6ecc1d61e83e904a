#include "TypeInfoHolder.h"

#include "ServerModule.h"
#include "WinError.h"

HRESULT TypeInfoHolder::Get(ITypeInfo** typeInfo)
{
    if (!typeInfo) return E_POINTER;
    *typeInfo = nullptr;
    if (!typeInfo_) {
        ComPtr<ITypeLib> library;
        HRESULT hr = LoadRegTypeLib(libid_, major_, minor_, LOCALE_NEUTRAL, library.put());
        if (FAILED(hr)) {
            try {
                hr = LoadTypeLibEx(ServerModulePath().c_str(), REGKIND_NONE, library.put());
            } catch (const HResultError& e) {
                hr = e.hr();
            }
        }
        if (FAILED(hr)) return hr;
        hr = library->GetTypeInfoOfGuid(guid_, typeInfo_.put());
        if (FAILED(hr)) return hr;
    }
    *typeInfo = ComPtr<ITypeInfo>::Share(typeInfo_.get()).detach();
    return S_OK;
}

HRESULT TypeInfoHolder::GetTypeInfoCount(UINT* count)
{
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT TypeInfoHolder::GetTypeInfo(UINT index, ITypeInfo** typeInfo)
{
    if (!typeInfo) return E_POINTER;
    *typeInfo = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return Get(typeInfo);
}

HRESULT TypeInfoHolder::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids)
{
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    const HRESULT hr = Get(info.put());
    if (FAILED(hr)) return hr;
    return info->GetIDsOfNames(names, count, ids);
}

HRESULT TypeInfoHolder::Invoke(void* object, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argError)
{
    if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    const HRESULT hr = Get(info.put());
    if (FAILED(hr)) return hr;
    return info->Invoke(object, id, flags, params, result, exception, argError);
}
