#include "SigningUsage.h"

bool HasDigitalSignatureUsage(PCCERT_CONTEXT cert)
{
    BYTE usage = 0;
    if (!CertGetIntendedKeyUsage(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, cert->pCertInfo, &usage, 1)) return false;
    return (usage & CERT_DIGITAL_SIGNATURE_KEY_USAGE) != 0;
}
