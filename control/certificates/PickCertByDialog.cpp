#include "PickCertByDialog.h"

#include <atomic>

#include "CertDialogFilter.h"
#include "CertSelectDialog.h"
#include "CertSerialToHex.h"
#include "Handles.h"
#include "PersonalStore.h"

namespace {

// Kept for the life of the process: the library is never freed, and a failed
// load is not retried. Controls in other apartments at worst repeat the lookup.
std::atomic<bool> triedLoad{false};
std::atomic<HMODULE> cryptdlg{nullptr};
std::atomic<CertSelectCertificateWFn> selectCertificate{nullptr};

HMODULE CryptdlgModule()
{
    if (!triedLoad.exchange(true)) cryptdlg = LoadLibraryA("cryptdlg.dll");
    return cryptdlg;
}

CertSelectCertificateWFn SelectCertificateProc(HMODULE module)
{
    if (!selectCertificate && module) {
        selectCertificate = reinterpret_cast<CertSelectCertificateWFn>(
            reinterpret_cast<void*>(GetProcAddress(module, "CertSelectCertificateW")));
    }
    return selectCertificate;
}

// CSS_ENABLEHOOK, the flags the dialog has always been shown with (no hook is given).
constexpr DWORD kDialogFlags = 2;

} // namespace

std::wstring PickCertByDialog(HWND owner, const wchar_t* filter)
{
    const HMODULE module = CryptdlgModule();
    UniqueCertStore store(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"MY"));
    const CertSelectCertificateWFn select = SelectCertificateProc(module);
    if (!select) return std::wstring();

    HCERTSTORE stores[1] = {store.get()};
    PCCERT_CONTEXT chosen[1] = {nullptr};
    CERT_SELECT_STRUCT_W selection{};
    selection.dwSize = sizeof(selection);
    selection.hwndParent = owner;
    selection.dwFlags = kDialogFlags;
    selection.cCertStore = 1;
    selection.arrayCertStore = stores;
    selection.cCertContext = 1;
    selection.arrayCertContext = chosen;
    selection.lCustData = reinterpret_cast<LPARAM>(filter);
    selection.pfnFilter = CertDialogFilter;
    select(&selection);

    UniqueCertContext picked(chosen[0]);
    return CertSerialToHex(picked.get());
}
