#include "CertMethods.h"

#include "certificates/CheckCertPin.h"
#include "TextConv.h"

long wevra::VerifyCertPin(BSTR bstrCertSerialNum, BSTR bstrPin)
{
    const AnsiText pin = BstrToAnsi(bstrPin);
    return CheckCertPin(bstrCertSerialNum, pin.get());
}
