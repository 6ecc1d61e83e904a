#pragma once
// The COM identity of WevraPlugIn and its control WevraCtrl.
#include <windows.h>

extern const CLSID CLSID_WevraCtrl;
extern const IID IID_IWevraCtrl;
extern const IID DIID__IWevraCtrlEvents;
extern const GUID LIBID_WevraPlugInLib;
constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;

// Offered to the registry scripts as %APPID%; they write no key for it.
constexpr const wchar_t* kServerAppId = L"{46E0505B-0B7D-4710-89D8-6DC42B562075}";

// OLEMISC_SETCLIENTSITEFIRST | ACTIVATEWHENVISIBLE | INSIDEOUT | CANTLINKINSIDE | RECOMPOSEONRESIZE
constexpr DWORD kWevraCtrlMiscStatus = 0x20191;
