#include "WevraClient.h"

#include <stdexcept>
#include <string>

namespace {

void CheckHresult(HRESULT hr, const char* what)
{
    if (FAILED(hr)) throw std::runtime_error(std::string(what) + " failed with " + std::to_string(static_cast<unsigned long>(hr)));
}

using RegisterProc = HRESULT(STDAPICALLTYPE*)();

HRESULT CallExport(HMODULE dll, const char* name)
{
    auto proc = reinterpret_cast<RegisterProc>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
    if (!proc) throw std::runtime_error(std::string("no export ") + name);
    return proc();
}

} // namespace

WevraClient::WevraClient()
{
    CLSID clsid;
    CheckHresult(CLSIDFromProgID(L"WevraCtrl.1", &clsid), "CLSIDFromProgID");
    CheckHresult(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(&control_)),
                 "CoCreateInstance");
}

WevraClient::WevraClient(IDispatch* control) : control_(control) { control_->AddRef(); }

WevraClient::~WevraClient()
{
    if (control_) control_->Release();
}

CallResult WevraClient::Call(const wchar_t* method, const std::vector<Arg>& args)
{
    std::vector<VARIANT> variants(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        VariantInit(&variants[i]);
        variants[i].vt = args[i].type;
        if (args[i].type == VT_BSTR) variants[i].bstrVal = args[i].text ? SysAllocString(args[i].text) : nullptr;
        else if (args[i].type == VT_I2) variants[i].iVal = static_cast<SHORT>(args[i].number);
        else variants[i].lVal = args[i].number;
    }
    CallResult result = CallWith(method, variants);
    for (VARIANT& v : variants) VariantClear(&v);
    return result;
}

CallResult WevraClient::CallWith(const wchar_t* method, std::vector<VARIANT>& args)
{
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(method);
    CheckHresult(control_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), "GetIDsOfNames");
    // IDispatch takes the arguments last first.
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    UniqueVariant out;
    CallResult result;
    result.hr = control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, out.get(), nullptr, nullptr);
    result.type = out.get()->vt;
    if (out.get()->vt == VT_BSTR) {
        result.nullText = out.get()->bstrVal == nullptr;
        if (out.get()->bstrVal) result.text.assign(out.get()->bstrVal, SysStringLen(out.get()->bstrVal));
    } else if (out.get()->vt == VT_I4) {
        result.number = out.get()->lVal;
    }
    return result;
}

RegisteredControl::RegisteredControl(const std::wstring& dllPath)
{
    CheckHresult(CoInitialize(nullptr), "CoInitialize");
    dll_.reset(LoadLibraryW(dllPath.c_str()));
    if (!dll_) throw std::runtime_error("cannot load the control's DLL");
    CheckHresult(CallExport(dll_.get(), "DllRegisterServer"), "DllRegisterServer");
}

RegisteredControl::~RegisteredControl()
{
    CallExport(dll_.get(), "DllUnregisterServer");
    CoFreeUnusedLibraries();
    dll_.reset();
    CoUninitialize();
}

std::wstring ControlDllPath()
{
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(L"WEVRA_PLUGIN_DLL", path, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) throw std::runtime_error("set WEVRA_PLUGIN_DLL to the control's DLL");
    return std::wstring(path, length);
}
