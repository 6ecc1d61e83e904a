#pragma once
// Checks an attached PKCS#7 signed message against the data it should carry.
#include <string>

// 1 when the message's signature verifies with the certificate inside it and
// its content is exactly data (same length, same bytes); 0 otherwise, also
// for empty content. No chain, trust, revocation or validity check.
long VerifyAttachedMessage(const std::string& data, const std::string& message);
