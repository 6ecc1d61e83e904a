#pragma once
// An IEnumXxx over a copy of a list, taken when the enumerator is made. Items
// that hold references (interfaces, CONNECTDATA) keep them until the
// enumerator goes, and each item handed out carries a reference of its own.
#include <windows.h>
#include <ocidl.h>

#include <new>
#include <vector>

#include "ServerModule.h"

namespace enumerator_items {
inline void Retain(IUnknown* item) { if (item) item->AddRef(); }
inline void Drop(IUnknown* item) { if (item) item->Release(); }
inline void Retain(CONNECTDATA& item) { Retain(item.pUnk); }
inline void Drop(CONNECTDATA& item) { Drop(item.pUnk); }
} // namespace enumerator_items

template <class IEnum, class Item, const IID* EnumIid>
class ListEnumerator final : public IEnum {
public:
    static HRESULT Create(const std::vector<Item>& items, size_t position, IEnum** out)
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        auto* made = new (std::nothrow) ListEnumerator(items, position);
        if (!made) return E_OUTOFMEMORY;
        *out = made;
        return S_OK;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, *EnumIid)) return E_NOINTERFACE;
        *ppv = static_cast<IEnum*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override
    {
        if (!items || (count > 1 && !fetched)) return E_POINTER;
        ULONG given = 0;
        while (given < count && position_ < items_.size()) {
            items[given] = items_[position_++];
            enumerator_items::Retain(items[given]);
            ++given;
        }
        if (fetched) *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        const size_t left = items_.size() - position_;
        position_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnum** out) override { return Create(items_, position_, out); }

private:
    ListEnumerator(const std::vector<Item>& items, size_t position) : items_(items), position_(position)
    {
        for (auto& item : items_) enumerator_items::Retain(item);
        LockServerModule();
    }
    ~ListEnumerator()
    {
        for (auto& item : items_) enumerator_items::Drop(item);
        UnlockServerModule();
    }

    std::vector<Item> items_;
    size_t position_;
    ULONG refs_ = 1;
};

using ConnectionPointEnumerator = ListEnumerator<IEnumConnectionPoints, IConnectionPoint*, &IID_IEnumConnectionPoints>;
using ConnectionEnumerator = ListEnumerator<IEnumConnections, CONNECTDATA, &IID_IEnumConnections>;
