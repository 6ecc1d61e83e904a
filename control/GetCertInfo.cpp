#include "CertInfo.h"
#include "CertMethods.h"
#include "TextConv.h"

std::string wevra::GetCertInfo(BSTR bstrCertB64, long lInfoType)
{
    const AnsiText certificate = BstrToAnsi(bstrCertB64);
    if (!certificate) return std::string();
    return QueryCertInfo(certificate.get(), lInfoType);
}
