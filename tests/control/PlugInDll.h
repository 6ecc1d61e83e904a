#pragma once
// WevraPlugIn.dll loaded into the test, as COM loads an in-process server:
// by its exports, with no registration needed.
#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <stdexcept>

#include "ComPtr.h"
#include "IWevraCtrl.h"

class PlugInDll {
public:
    PlugInDll()
    {
        module_ = LoadLibraryW(L"WevraPlugIn.dll");
        if (!module_) throw std::runtime_error("WevraPlugIn.dll does not load");
        getClassObject_ = reinterpret_cast<GetClassObjectFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
        canUnloadNow_ =
            reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllCanUnloadNow")));
        if (!getClassObject_ || !canUnloadNow_) throw std::runtime_error("WevraPlugIn.dll lacks its exports");
    }
    // Kept loaded: COM objects of a test may outlive the fixture.
    PlugInDll(const PlugInDll&) = delete;
    PlugInDll& operator=(const PlugInDll&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const { return getClassObject_(clsid, iid, out); }
    HRESULT CanUnloadNow() const { return canUnloadNow_(); }
    HMODULE Module() const { return module_; }

    ComPtr<IClassFactory> Factory() const
    {
        ComPtr<IClassFactory> factory;
        if (FAILED(GetClassObject(CLSID_WevraCtrl, IID_IClassFactory, factory.put_void())))
            throw std::runtime_error("no class factory");
        return factory;
    }

    template <class T>
    ComPtr<T> Create(REFIID iid) const
    {
        ComPtr<T> object;
        const HRESULT hr = Factory()->CreateInstance(nullptr, iid, object.put_void());
        if (FAILED(hr)) throw std::runtime_error("CreateInstance failed");
        return object;
    }

    static const PlugInDll& Instance()
    {
        static const PlugInDll dll;
        return dll;
    }

private:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();
    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    CanUnloadNowFn canUnloadNow_ = nullptr;
};

// Initialises COM for one test, in a single-threaded apartment as a page has.
class ComApartment {
public:
    ComApartment() { hr_ = OleInitialize(nullptr); }
    ~ComApartment()
    {
        if (SUCCEEDED(hr_)) OleUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT hr_;
};
