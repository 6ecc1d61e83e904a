#include "CertMethods.h"

// Not built yet: nothing is exported.
std::string wevra::ExportUserCert(BSTR, long) { return std::string(); }
