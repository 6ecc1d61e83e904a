#include "CertMethods.h"

// Not built yet: nothing is imported.
long wevra::ImportTrustCert(long) { return 0; }
