#include "CertMethods.h"

#include "certificates/ExportUserCert.h"

// lFlag has never had a meaning.
std::string wevra::ExportUserCert(BSTR bstrCertSerialNum, long) { return ::ExportUserCert(bstrCertSerialNum); }
