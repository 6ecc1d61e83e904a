#include "CertMethods.h"

#include "certificates/SignData.h"
#include "TextConv.h"

std::string wevra::SignData(BSTR bstrCertSerialNum, long signType, BSTR bstrOriginal)
{
    const AnsiText original = BstrToAnsi(bstrOriginal);
    return ::SignData(bstrCertSerialNum, signType, original ? original.get() : "");
}
