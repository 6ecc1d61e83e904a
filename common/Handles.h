#pragma once
// One owning type per platform handle. Closers that need extra arguments get a
// small adapter here, so no caller writes a release sequence by hand.
#include <windows.h>
#include <wincrypt.h>
#include <oleauto.h>

#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using type = typename Traits::type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(type h) noexcept : h_(h) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    type get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != Traits::invalid(); }
    type release() noexcept { return std::exchange(h_, Traits::invalid()); }
    void reset(type h = Traits::invalid()) noexcept
    {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }
    // For out-parameters: releases what is held and hands out the slot.
    type* put() noexcept
    {
        reset();
        return &h_;
    }

private:
    type h_ = Traits::invalid();
};

namespace handle_traits {
template <typename T, auto Close>
struct Simple {
    using type = T;
    static constexpr T invalid() noexcept { return T{}; }
    static void close(T h) noexcept { Close(h); }
};
struct CertStore {
    using type = HCERTSTORE;
    static type invalid() noexcept { return nullptr; }
    static void close(type h) noexcept { CertCloseStore(h, 0); }
};
struct CryptProv {
    using type = HCRYPTPROV;
    static type invalid() noexcept { return 0; }
    static void close(type h) noexcept { CryptReleaseContext(h, 0); }
};
struct File {
    using type = HANDLE;
    static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(type h) noexcept { CloseHandle(h); }
};
inline void FreeCert(PCCERT_CONTEXT c) noexcept { CertFreeCertificateContext(c); }
inline void CloseMsg(HCRYPTMSG m) noexcept { CryptMsgClose(m); }
inline void DestroyKey(HCRYPTKEY k) noexcept { CryptDestroyKey(k); }
inline void DestroyHash(HCRYPTHASH h) noexcept { CryptDestroyHash(h); }
inline void FreeBstr(BSTR s) noexcept { SysFreeString(s); }
inline void CloseKey(HKEY k) noexcept { RegCloseKey(k); }
inline void UnloadModule(HMODULE m) noexcept { FreeLibrary(m); }
inline void CloseWin32(HANDLE h) noexcept { CloseHandle(h); }
inline void DeleteGdi(HGDIOBJ o) noexcept { DeleteObject(o); }
inline void DeleteMemDc(HDC dc) noexcept { DeleteDC(dc); }
inline void FreeLocal(HLOCAL p) noexcept { LocalFree(p); }
} // namespace handle_traits

using UniqueCertStore = UniqueHandle<handle_traits::CertStore>;
using UniqueCertContext = UniqueHandle<handle_traits::Simple<PCCERT_CONTEXT, handle_traits::FreeCert>>;
using UniqueCryptProv = UniqueHandle<handle_traits::CryptProv>;
using UniqueCryptMsg = UniqueHandle<handle_traits::Simple<HCRYPTMSG, handle_traits::CloseMsg>>;
using UniqueCryptKey = UniqueHandle<handle_traits::Simple<HCRYPTKEY, handle_traits::DestroyKey>>;
using UniqueCryptHash = UniqueHandle<handle_traits::Simple<HCRYPTHASH, handle_traits::DestroyHash>>;
using UniqueBstr = UniqueHandle<handle_traits::Simple<BSTR, handle_traits::FreeBstr>>;
using UniqueRegKey = UniqueHandle<handle_traits::Simple<HKEY, handle_traits::CloseKey>>;
using UniqueModule = UniqueHandle<handle_traits::Simple<HMODULE, handle_traits::UnloadModule>>;
using UniqueFile = UniqueHandle<handle_traits::File>;
using UniqueWin32Handle = UniqueHandle<handle_traits::Simple<HANDLE, handle_traits::CloseWin32>>;
using UniqueGdiObject = UniqueHandle<handle_traits::Simple<HGDIOBJ, handle_traits::DeleteGdi>>;
using UniqueMemDc = UniqueHandle<handle_traits::Simple<HDC, handle_traits::DeleteMemDc>>;
using UniqueLocal = UniqueHandle<handle_traits::Simple<HLOCAL, handle_traits::FreeLocal>>;

// CertEnumCertificatesInStore frees the context it is given and returns the
// next one; holding the current one here makes a loop neither leak nor
// double-free, and lets the caller keep a found certificate by duplicating it.
class CertEnumerator {
public:
    explicit CertEnumerator(HCERTSTORE store) noexcept : store_(store) {}
    CertEnumerator(const CertEnumerator&) = delete;
    CertEnumerator& operator=(const CertEnumerator&) = delete;
    ~CertEnumerator()
    {
        if (current_) CertFreeCertificateContext(current_);
    }
    PCCERT_CONTEXT Next() noexcept
    {
        current_ = CertEnumCertificatesInStore(store_, current_);
        return current_;
    }

private:
    HCERTSTORE store_;
    PCCERT_CONTEXT current_ = nullptr;
};

// Wraps a VARIANT so that VariantClear runs whatever the path out.
class UniqueVariant {
public:
    UniqueVariant() noexcept { VariantInit(&v_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { VariantClear(&v_); }
    VARIANT* get() noexcept { return &v_; }
    const VARIANT* get() const noexcept { return &v_; }

private:
    VARIANT v_;
};
