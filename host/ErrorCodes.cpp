#include "ErrorCodes.h"

namespace {

struct ErrorText {
    ErrorCode code;
    const char* gbk;
};

constexpr ErrorText kErrorTexts[] = {
    // 获取证书序列号失败 (getting the certificate serial number failed)
    {kErrGetCertSerial, "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xD0\xF2\xC1\xD0\xBA\xC5\xCA\xA7\xB0\xDC"},
    // 获取证书信息失败 (getting the certificate information failed)
    {kErrGetCertBase64, "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xD0\xC5\xCF\xA2\xCA\xA7\xB0\xDC"},
    // 数据签名失败 (signing the data failed)
    {kErrSignData, "\xCA\xFD\xBE\xDD\xC7\xA9\xC3\xFB\xCA\xA7\xB0\xDC"},
    // 数据签名验证出错 (verifying the data signature failed)
    {kErrSignVerify, "\xCA\xFD\xBE\xDD\xC7\xA9\xC3\xFB\xD1\xE9\xD6\xA4\xB3\xF6\xB4\xED"},
    // 获取证书项错误 (error reading the certificate item)
    {kErrGetCertinfo, "\xBB\xF1\xC8\xA1\xD6\xA4\xCA\xE9\xCF\xEE\xB4\xED\xCE\xF3"},
    // PIN错误 (wrong PIN)
    {kErrCheckPin, "PIN\xB4\xED\xCE\xF3"},
    // 不支持的功能 (unsupported function)
    {kErrUnsupported, "\xB2\xBB\xD6\xA7\xB3\xD6\xB5\xC4\xB9\xA6\xC4\xDC"},
};

} // namespace

const char* ErrorMessage(ErrorCode code)
{
    for (const ErrorText& entry : kErrorTexts)
        if (entry.code == code) return entry.gbk;
    return "";
}

void FailWith(Json::Value& response, ErrorCode code)
{
    response = Json::Value(Json::objectValue);
    response["errCode"] = static_cast<Json::Int>(code);
    response["errShow"] = 1;
    response["errMsg"] = ErrorMessage(code);
}
