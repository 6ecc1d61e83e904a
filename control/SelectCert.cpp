#include "CertMethods.h"

// Not built yet: no certificate is selected.
std::wstring wevra::SelectCert(BSTR, short, long) { return std::wstring(); }
