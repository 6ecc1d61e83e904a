#include "CertMethods.h"
#include "ServerModule.h"
#include "TrustImport.h"

// The templates and the default address book are resources of this DLL.
long wevra::ImportTrustCert(long lID) { return ::ImportTrustCert(ServerModuleHandle(), lID); }
