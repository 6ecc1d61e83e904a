#pragma once
// A COM client of the control that calls its methods by name through
// IDispatch, as a script would, and keeps the raw HRESULT and result.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "Handles.h"

// One argument as a script passes it; a null text is a null BSTR.
struct Arg {
    static Arg Text(const wchar_t* text) { return Arg{VT_BSTR, text, 0}; }
    static Arg Short(short value) { return Arg{VT_I2, nullptr, value}; }
    static Arg Long(long value) { return Arg{VT_I4, nullptr, value}; }
    VARTYPE type;
    const wchar_t* text;
    long number;
};

struct CallResult {
    HRESULT hr = E_FAIL;
    VARTYPE type = VT_EMPTY;
    bool nullText = false; // a VT_BSTR result that was a null BSTR
    std::wstring text;
    long number = 0;
};

class WevraClient {
public:
    // Creates the control by ProgID "WevraCtrl.1".
    WevraClient();
    // Uses an object that the caller made otherwise.
    explicit WevraClient(IDispatch* control);
    ~WevraClient();
    WevraClient(const WevraClient&) = delete;
    WevraClient& operator=(const WevraClient&) = delete;

    CallResult Call(const wchar_t* method, const std::vector<Arg>& args);
    // Passes BSTRs that the caller owns, so it can check they are unchanged.
    CallResult CallWith(const wchar_t* method, std::vector<VARIANT>& args);

private:
    IDispatch* control_ = nullptr;
};

// Registers the control's DLL for the lifetime of the object and initialises COM.
class RegisteredControl {
public:
    explicit RegisteredControl(const std::wstring& dllPath);
    ~RegisteredControl();
    RegisteredControl(const RegisteredControl&) = delete;
    RegisteredControl& operator=(const RegisteredControl&) = delete;

private:
    UniqueModule dll_;
};

// The control's DLL as the test names it in WEVRA_PLUGIN_DLL (a Windows path).
std::wstring ControlDllPath();
