#pragma once
// Finds a personal-store certificate by its serial text, in any letter case.
#include <string>

// The whole DER encoding of the first certificate in store order whose serial
// text equals the serial; empty for a null or empty serial or no match. Any
// certificate qualifies, whatever its key usage.
std::string FindCertDerBySerial(const wchar_t* serial);
