#include "SelectCert.h"

#include "CollectSigningCerts.h"
#include "PickCertByDialog.h"

std::wstring SelectCert(const wchar_t* filter, short autoSelected, HWND owner)
{
    const std::vector<CertCandidate> candidates = CollectSigningCerts(filter);
    if (candidates.empty()) return std::wstring();
    if (autoSelected == 2) {
        std::wstring list;
        for (const CertCandidate& candidate : candidates) {
            if (!list.empty()) list += L"&&&";
            list += candidate.name + L"||" + candidate.serial;
        }
        return list;
    }
    if (candidates.size() == 1 || autoSelected == 1) return candidates.front().serial;
    return PickCertByDialog(owner, filter);
}
