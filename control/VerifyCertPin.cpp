#include "CertMethods.h"

// Not built yet: no PIN verifies.
long wevra::VerifyCertPin(BSTR, BSTR) { return 0; }
