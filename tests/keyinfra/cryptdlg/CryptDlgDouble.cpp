// A stand-in for the system's certificate selection dialog, for tests: it
// asks the caller's filter about every certificate exactly as the dialog
// would, logs what would have been shown, and "clicks" the certificate the
// test's rule names, or cancels.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "Handles.h"
#include "SelectStruct.h"
#include "SelectionRule.h"
#include "TextCodec.h"

namespace {

std::wstring Environment(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length);
    return value;
}

// Appends to the file named by KEYINFRA_CRYPTDLG_LOG, if any.
class Log {
public:
    Log()
    {
        const std::wstring path = Environment(L"KEYINFRA_CRYPTDLG_LOG");
        if (!path.empty()) file_ = _wfopen(path.c_str(), L"ab");
    }
    ~Log()
    {
        if (file_) fclose(file_);
    }
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;
    void Line(const std::string& text)
    {
        if (file_) fprintf(file_, "%s\n", text.c_str());
    }

private:
    FILE* file_ = nullptr;
};

std::string Hex(unsigned long long value)
{
    char text[20];
    snprintf(text, sizeof(text), "%llx", value);
    return text;
}

std::string CommonName(PCCERT_CONTEXT cert)
{
    wchar_t name[260] = {};
    CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(szOID_COMMON_NAME), name, 260);
    return ToUtf8(name);
}

BOOL Refuse(Log& log, const std::string& reason)
{
    log.Line("refused " + reason);
    SetLastError(static_cast<DWORD>(E_INVALIDARG));
    return FALSE;
}

} // namespace

extern "C" BOOL WINAPI CertSelectCertificateW(PCERT_SELECT_STRUCT_W info)
{
    Log log;
    try {
        if (info == nullptr) return Refuse(log, "no structure");
        log.Line("call size=" + std::to_string(info->dwSize) + " flags=" + Hex(info->dwFlags) + " stores=" +
                 std::to_string(info->cCertStore) + " custdata=" + (info->lCustData ? "set" : "null"));
        if (info->dwSize != sizeof(CERT_SELECT_STRUCT_W)) return Refuse(log, "size " + std::to_string(info->dwSize));
        if (info->cCertContext == 0 || info->arrayCertContext == nullptr) return Refuse(log, "no room for the selection");
        if (info->cCertStore != 0 && info->arrayCertStore == nullptr) return Refuse(log, "no store array");

        SelectionRule rule;
        try {
            rule = ParseSelectionRule(ToUtf8(Environment(L"KEYINFRA_CRYPTDLG_SELECT")));
        } catch (const std::invalid_argument&) {
            return Refuse(log, "rule " + ToUtf8(Environment(L"KEYINFRA_CRYPTDLG_SELECT")));
        }

        std::vector<UniqueCertContext> shown;
        std::vector<std::string> shownSerials;
        for (DWORD s = 0; s < info->cCertStore; ++s) {
            PCCERT_CONTEXT cert = nullptr;
            while ((cert = CertEnumCertificatesInStore(info->arrayCertStore[s], cert)) != nullptr) {
                const std::string serial = SerialText(cert->pCertInfo->SerialNumber);
                const bool show = info->pfnFilter == nullptr || info->pfnFilter(cert, info->lCustData, 0, 0);
                log.Line((show ? "shown " : "hidden ") + serial + " " + CommonName(cert));
                if (show) {
                    shown.emplace_back(CertDuplicateCertificateContext(cert));
                    shownSerials.push_back(serial);
                }
            }
        }

        const std::optional<size_t> pick = ApplySelectionRule(rule, shownSerials);
        if (pick) {
            info->arrayCertContext[0] = CertDuplicateCertificateContext(shown[*pick].get());
            log.Line("selected " + shownSerials[*pick]);
        } else {
            log.Line("cancelled");
        }
        SetLastError(pick ? ERROR_SUCCESS : ERROR_CANCELLED);
        return pick ? TRUE : FALSE;
    } catch (...) {
        return Refuse(log, "internal failure");
    }
}
