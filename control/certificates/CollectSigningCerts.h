#pragma once
// Finds the personal-store certificates that can sign and whose subject or
// issuer common name contains a filter text.
#include <string>
#include <vector>

struct CertCandidate {
    std::wstring serial; // as CertSerialToHex makes it
    std::wstring name;   // the common name that matched, letter case kept
};

// A null or empty filter, or exactly "*", matches every signing certificate;
// otherwise matching ignores the case of a to z. Candidates come in store
// order; an unopenable store gives none. The filter text is not changed.
std::vector<CertCandidate> CollectSigningCerts(const wchar_t* filter);
