#pragma once
// QueryInterface, AddRef and Release written once for a COM class, which
// lists the interfaces it answers, in order, as a table of InterfaceEntry
// returned by its static Interfaces().
// The object can be aggregated: its interfaces then delegate to the outer
// unknown, and its own identity is the inner unknown that the outer holds.
// Each live object holds a lock on the server.
#include <windows.h>
#include <unknwn.h>

#include <new>

#include "ServerModule.h"

template <class Derived>
struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(Derived*);
};

template <class Derived>
struct InterfaceTable {
    const InterfaceEntry<Derived>* first;
    const InterfaceEntry<Derived>* last;
    const InterfaceEntry<Derived>* begin() const { return first; }
    const InterfaceEntry<Derived>* end() const { return last; }
};

// The entry for interface I reached through the base Via (for an interface
// that Derived inherits more than once, or only as a base of another).
template <class Derived, class I, class Via = I>
constexpr InterfaceEntry<Derived> Answer(const IID& iid)
{
    return {&iid, [](Derived* self) -> void* { return static_cast<I*>(static_cast<Via*>(self)); }};
}

template <class Derived, class... Bases>
class ComObject : public Bases... {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return controlling_->QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return controlling_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return controlling_->Release(); }

    // Creates an object (aggregated when outer is not null, which then allows
    // only IUnknown) and asks it for riid; the object is destroyed when that fails.
    static HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer && !IsEqualIID(riid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        auto* object = new (std::nothrow) Derived(outer);
        if (!object) return E_OUTOFMEMORY;
        IUnknown* inner = &object->inner_;
        inner->AddRef();
        const HRESULT hr = inner->QueryInterface(riid, ppv);
        inner->Release();
        return hr;
    }

protected:
    explicit ComObject(IUnknown* outer) noexcept : inner_(*this), controlling_(outer ? outer : &inner_)
    {
        LockServerModule();
    }
    virtual ~ComObject() { UnlockServerModule(); }

    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // The object's identity: the unknown that a container compares.
    IUnknown* Identity() noexcept { return controlling_; }

private:
    // Non-delegating unknown: counts references and walks the table.
    class Inner final : public IUnknown {
    public:
        explicit Inner(ComObject& owner) noexcept : owner_(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
        {
            if (!ppv) return E_POINTER;
            *ppv = nullptr;
            if (IsEqualIID(riid, IID_IUnknown)) {
                *ppv = static_cast<IUnknown*>(this);
            } else {
                for (const auto& entry : Derived::Interfaces()) {
                    if (IsEqualIID(riid, *entry.iid)) {
                        *ppv = entry.cast(static_cast<Derived*>(&owner_));
                        break;
                    }
                }
            }
            if (!*ppv) return E_NOINTERFACE;
            static_cast<IUnknown*>(*ppv)->AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
        STDMETHODIMP_(ULONG) Release() override
        {
            const ULONG left = --refs_;
            if (left == 0) delete &owner_;
            return left;
        }

    private:
        ComObject& owner_;
        ULONG refs_ = 0;
    };

    Inner inner_;
    IUnknown* controlling_;
};
