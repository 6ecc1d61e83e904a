#pragma once
// A HostPlatform that records what the commands hand over and answers what
// the test sets up, in place of OlmoSignCsp, user32 and the field query.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "HostPlatform.h"

struct FakePlatform : HostPlatform {
    // Set up by the test.
    std::int32_t selectResult = 1;
    std::wstring selectWrites; // written into the serial buffer, bounded by its size
    std::int32_t certResult = 0;
    std::string certBytes;
    std::int32_t signResult = 0;
    std::string signBytes;
    std::int32_t verifyResult = 0;
    std::int32_t pinResult = 0;
    std::string certInfo;
    bool certInfoThrows = false;

    // Recorded.
    std::vector<std::string> calls;
    std::uintptr_t ownerSeen = 0;
    std::wstring issuerSeen, serialSeen, pinSeen, messageText, messageCaption;
    std::int32_t serialUnitsSeen = 0, bufferSizeSeen = 0;
    std::string dataSeen, signSeen, certTextSeen;
    std::int32_t infoTypeSeen = 0;

    static constexpr std::uintptr_t kDesktop = 0x10010;

    std::uintptr_t PrepareDialogOwner() override
    {
        calls.push_back("PrepareDialogOwner");
        return kDesktop;
    }
    void ShowMessage(const wchar_t* text, const wchar_t* caption) override
    {
        calls.push_back("ShowMessage");
        messageText = text;
        messageCaption = caption;
    }
    std::int32_t SelectCertForIssuerDialog(std::uintptr_t owner, const wchar_t* issuer, wchar_t* serial,
                                           std::int32_t serialUnits) override
    {
        calls.push_back("SelectCertForIssuerDialog");
        ownerSeen = owner;
        issuerSeen = issuer;
        serialUnitsSeen = serialUnits;
        std::copy_n(selectWrites.begin(), std::min<std::size_t>(selectWrites.size(), serialUnits), serial);
        return selectResult;
    }
    std::int32_t GetUserCertBySerialNum(const wchar_t* serial, unsigned char* cert, std::int32_t certSize) override
    {
        calls.push_back("GetUserCertBySerialNum");
        serialSeen = serial;
        bufferSizeSeen = certSize;
        std::memcpy(cert, certBytes.data(), std::min<std::size_t>(certBytes.size(), certSize));
        return certResult;
    }
    std::int32_t SignPKCS7ForSerialNum(const wchar_t* serial, const unsigned char* data, std::int32_t dataLength,
                                       unsigned char* sign, std::int32_t signSize) override
    {
        calls.push_back("SignPKCS7ForSerialNum");
        serialSeen = serial;
        dataSeen.assign(reinterpret_cast<const char*>(data), dataLength);
        bufferSizeSeen = signSize;
        std::memcpy(sign, signBytes.data(), std::min<std::size_t>(signBytes.size(), signSize));
        return signResult;
    }
    std::int32_t CSPVerifySignPKCS7(const unsigned char* data, std::int32_t dataLength, const unsigned char* sign,
                                    std::int32_t signLength) override
    {
        calls.push_back("CSPVerifySignPKCS7");
        dataSeen.assign(reinterpret_cast<const char*>(data), dataLength);
        signSeen.assign(reinterpret_cast<const char*>(sign), signLength);
        return verifyResult;
    }
    std::int32_t VerifyCertPin(const wchar_t* serial, const wchar_t* pin) override
    {
        calls.push_back("VerifyCertPin");
        serialSeen = serial;
        pinSeen = pin;
        return pinResult;
    }
    std::string QueryCertInfo(const std::string& certBase64, std::int32_t infoType) override
    {
        calls.push_back("QueryCertInfo");
        certTextSeen = certBase64;
        infoTypeSeen = infoType;
        if (certInfoThrows) throw std::runtime_error("CertCreateCertificateContext failed");
        return certInfo;
    }
};
