#pragma once
// A class factory that lives as long as the DLL: its references do not keep
// the server loaded; LockServer does.
#include <windows.h>
#include <unknwn.h>

class ClassFactory final : public IClassFactory {
public:
    using Creator = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);
    explicit constexpr ClassFactory(Creator create) noexcept : create_(create) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    Creator create_;
};
