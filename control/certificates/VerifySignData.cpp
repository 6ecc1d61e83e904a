#include "VerifySignData.h"

#include "Base64.h"
#include "VerifyAttachedMessage.h"

namespace {
constexpr long kAttachedSha1 = 1;
}

long VerifySignData(long signType, const std::string& originalBase64, const std::string& signedBase64)
{
    if (signType != kAttachedSha1) return 0;
    return VerifyAttachedMessage(Base64Decode(originalBase64), Base64Decode(signedBase64));
}
