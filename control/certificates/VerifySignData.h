#pragma once
// The body of VerifySignData over 8-bit texts.
#include <string>

// 1 when signType is 1 and the message that signedBase64 decodes to verifies
// and carries exactly the bytes that originalBase64 decodes to; else 0.
long VerifySignData(long signType, const std::string& originalBase64, const std::string& signedBase64);
