#pragma once
// Reads one field of a Base64 DER certificate, chosen by an info-type code
// (1-9, 16-25, 32-34). Every failure and every unknown code gives "".
#include <cstdint>
#include <string>

std::string QueryCertInfo(const std::string& certBase64, std::int32_t infoType);
