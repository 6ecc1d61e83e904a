#include "CertMethods.h"

// Not built yet: nothing verifies.
long wevra::VerifySignData(BSTR, long, BSTR, BSTR) { return 0; }
