#include "CertMethods.h"

// Not built yet: nothing is signed.
std::string wevra::SignData(BSTR, long, BSTR) { return std::string(); }
