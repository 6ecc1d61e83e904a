#include "CertMethods.h"

#include "certificates/VerifySignData.h"
#include "TextConv.h"

// bstrCertB64 is not read: the signer's certificate comes from the message.
long wevra::VerifySignData(BSTR, long signType, BSTR bstrOriginal, BSTR bstrSignResultB64)
{
    const AnsiText original = BstrToAnsi(bstrOriginal);
    const AnsiText message = BstrToAnsi(bstrSignResultB64);
    return ::VerifySignData(signType, original ? original.get() : "", message ? message.get() : "");
}
