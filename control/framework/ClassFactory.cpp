#include "ClassFactory.h"

#include "ServerModule.h"

STDMETHODIMP ClassFactory::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) return E_NOINTERFACE;
    *ppv = static_cast<IClassFactory*>(this);
    return S_OK;
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    return create_(outer, riid, ppv);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        LockServerModule();
    else
        UnlockServerModule();
    return S_OK;
}
