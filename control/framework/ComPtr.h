#pragma once
// Owning pointer to a COM interface: Release runs whatever the path out.
#include <unknwn.h>

#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Takes over a reference the caller already owns.
    explicit ComPtr(T* owned) noexcept : p_(owned) {}
    ComPtr(const ComPtr& other) noexcept : p_(other.p_)
    {
        if (p_) p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Adds a reference of its own to an interface it is lent.
    static ComPtr Share(T* lent) noexcept
    {
        if (lent) lent->AddRef();
        return ComPtr(lent);
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset() noexcept
    {
        if (p_) std::exchange(p_, nullptr)->Release();
    }
    T* detach() noexcept { return std::exchange(p_, nullptr); }
    T** put() noexcept
    {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    template <class U>
    ComPtr<U> As(REFIID iid) const noexcept
    {
        ComPtr<U> other;
        if (p_) p_->QueryInterface(iid, other.put_void());
        return other;
    }

private:
    T* p_ = nullptr;
};
