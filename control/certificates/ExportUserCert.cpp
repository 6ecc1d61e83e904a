#include "ExportUserCert.h"

#include "Base64.h"
#include "FindCertDerBySerial.h"

std::string ExportUserCert(const wchar_t* serial)
{
    const std::string der = FindCertDerBySerial(serial);
    if (der.empty()) return std::string();
    return Base64Encode(der);
}
