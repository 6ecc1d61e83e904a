#pragma once
// The body of ExportUserCert: a personal-store certificate as Base64 DER.
#include <string>

// Base64 of the whole DER encoding of the certificate with that serial text
// (any letter case), without line breaks; empty when none is found.
std::string ExportUserCert(const wchar_t* serial);
