#pragma once
// One ITypeInfo of a type library, loaded on first use: from the library's
// registration by LIBID and version, or, when it is not registered, from the
// TYPELIB resource of this DLL. IDispatch of a dual interface forwards here.
#include <windows.h>
#include <oaidl.h>

#include "ComPtr.h"

class TypeInfoHolder {
public:
    TypeInfoHolder(const GUID& libid, WORD major, WORD minor, const GUID& guid) noexcept
        : libid_(libid), major_(major), minor_(minor), guid_(guid)
    {
    }

    HRESULT Get(ITypeInfo** typeInfo);

    // The IDispatch methods for an object whose v-table the type info describes.
    HRESULT GetTypeInfoCount(UINT* count);
    HRESULT GetTypeInfo(UINT index, ITypeInfo** typeInfo);
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
    HRESULT Invoke(void* object, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* exception, UINT* argError);

private:
    GUID libid_;
    WORD major_;
    WORD minor_;
    GUID guid_;
    ComPtr<ITypeInfo> typeInfo_;
};
