#include "ConnectionPoint.h"

#include <new>

#include "Enumerator.h"

ConnectionPoint::~ConnectionPoint()
{
    for (IUnknown* sink : sinks_)
        if (sink) sink->Release();
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
    *ppv = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid)
{
    if (!iid) return E_POINTER;
    *iid = iid_;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container)
{
    if (!container) return E_POINTER;
    *container = &container_;
    container_.AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    IUnknown* events = nullptr;
    if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&events)))) return CONNECT_E_CANNOTCONNECT;
    size_t slot = 0;
    while (slot < sinks_.size() && sinks_[slot]) ++slot;
    try {
        if (slot == sinks_.size()) sinks_.push_back(nullptr);
    } catch (const std::bad_alloc&) {
        events->Release();
        return E_OUTOFMEMORY;
    }
    sinks_[slot] = events;
    *cookie = static_cast<DWORD>(slot + 1);
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie)
{
    if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
    IUnknown* sink = sinks_[cookie - 1];
    sinks_[cookie - 1] = nullptr;
    sink->Release();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections)
{
    if (!connections) return E_POINTER;
    *connections = nullptr;
    try {
        std::vector<CONNECTDATA> list;
        for (size_t i = 0; i < sinks_.size(); ++i)
            if (sinks_[i]) list.push_back(CONNECTDATA{sinks_[i], static_cast<DWORD>(i + 1)});
        return ConnectionEnumerator::Create(list, 0, connections);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
