// The DLL's entry points (ordinals and undecorated names in WevraPlugIn.def).
#include <windows.h>
#include <olectl.h>

#include <cwchar>

#include "ClassFactory.h"
#include "ComIds.h"
#include "ServerModule.h"
#include "ServerRegistration.h"
#include "WevraCtrl.h"

STDAPI DllCanUnloadNow()
{
    return ServerLockCount() == 0 ? S_OK : S_FALSE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!IsEqualCLSID(rclsid, CLSID_WevraCtrl)) return CLASS_E_CLASSNOTAVAILABLE;
    // Made on first request and kept until unload; C++ serialises the first construction.
    static ClassFactory factory(&CWevraCtrl::CreateInstance);
    return factory.QueryInterface(riid, ppv);
}

STDAPI DllRegisterServer()
{
    return RegisterServer();
}

STDAPI DllUnregisterServer()
{
    return UnregisterServer();
}

extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL bInstall, LPCWSTR pszCmdLine)
{
    // Five characters compared: "user" and its terminating null, in any case.
    if (pszCmdLine && _wcsnicmp(pszCmdLine, L"user", 5) == 0) EnablePerUserRegistration();
    if (!bInstall) return UnregisterServer();
    const HRESULT hr = RegisterServer();
    if (FAILED(hr)) UnregisterServer();
    return hr;
}
