// A PIN-protected soft token for tests: a CSP whose keys live in Wine's
// default RSA provider, to which every cryptographic call is delegated. Key
// and hash handles are that provider's own; only the provider context is
// ours, carrying the container and whether the caller allowed a prompt.
#include <cstring>
#include <new>
#include <string>

#include "CryptoSpi.h"
#include "PinStore.h"
#include "SoftTokenProvider.h"

namespace {

constexpr DWORD kMagic = 0x4B495354;  // "KIST": a context of ours
constexpr char kInnerProvider[] = MS_ENHANCED_PROV_A;
constexpr char kInnerPrefix[] = "KeyInfraSoftToken-";

struct TokenContext {
    DWORD magic = kMagic;
    HCRYPTPROV inner = 0;
    std::string container;  // empty for a verification context
    bool silent = false;
};

TokenContext* Context(HCRYPTPROV handle)
{
    auto* context = reinterpret_cast<TokenContext*>(handle);
    if (context == nullptr || context->magic != kMagic) {
        SetLastError(static_cast<DWORD>(NTE_BAD_UID));
        return nullptr;
    }
    return context;
}

BOOL Fail(HRESULT error)
{
    SetLastError(static_cast<DWORD>(error));
    return FALSE;
}

// Answers a get-parameter call with bytes of our own, by the usual size rules.
BOOL Answer(const void* data, DWORD size, BYTE* out, DWORD* outSize)
{
    if (outSize == nullptr) return Fail(E_INVALIDARG);
    if (out == nullptr) {
        *outSize = size;
        return TRUE;
    }
    if (*outSize < size) {
        *outSize = size;
        return Fail(HRESULT_FROM_WIN32(ERROR_MORE_DATA));
    }
    std::memcpy(out, data, size);
    *outSize = size;
    return TRUE;
}

std::string InnerName(const std::string& container) { return kInnerPrefix + container; }

} // namespace

extern "C" {

BOOL WINAPI CPAcquireContext(HCRYPTPROV* phProv, LPSTR pszContainer, DWORD dwFlags, softtoken::ProviderVTable*)
{
    if (phProv == nullptr) return Fail(E_INVALIDARG);
    const bool verify = (dwFlags & CRYPT_VERIFYCONTEXT) != 0;
    // Like real tokens, one default container when none is named.
    const std::string container = verify ? std::string() : (pszContainer && *pszContainer ? pszContainer : "default");

    if (dwFlags & CRYPT_DELETEKEYSET) {
        HCRYPTPROV gone = 0;
        if (!CryptAcquireContextA(&gone, InnerName(container).c_str(), kInnerProvider, PROV_RSA_FULL, dwFlags & ~CRYPT_SILENT)) {
            return FALSE;
        }
        softtoken::ForgetStoredPin(container);
        *phProv = 0;
        return TRUE;
    }

    auto* context = new (std::nothrow) TokenContext;
    if (context == nullptr) return Fail(NTE_NO_MEMORY);
    const std::string inner = InnerName(container);
    if (!CryptAcquireContextA(&context->inner, verify ? nullptr : inner.c_str(), kInnerProvider, PROV_RSA_FULL,
                              dwFlags & ~CRYPT_SILENT)) {
        const DWORD error = GetLastError();
        delete context;
        SetLastError(error);
        return FALSE;
    }
    context->container = container;
    context->silent = (dwFlags & CRYPT_SILENT) != 0;
    *phProv = reinterpret_cast<HCRYPTPROV>(context);
    return TRUE;
}

BOOL WINAPI CPReleaseContext(HCRYPTPROV hProv, DWORD dwFlags)
{
    TokenContext* context = Context(hProv);
    if (!context) return FALSE;
    const BOOL ok = CryptReleaseContext(context->inner, dwFlags);
    context->magic = 0;
    delete context;
    return ok;
}

BOOL WINAPI CPGetProvParam(HCRYPTPROV hProv, DWORD dwParam, BYTE* pbData, DWORD* pcbDataLen, DWORD dwFlags)
{
    TokenContext* context = Context(hProv);
    if (!context) return FALSE;
    switch (dwParam) {
    case PP_NAME:
        return Answer(KEYINFRA_SOFTTOKEN_PROV_A, sizeof(KEYINFRA_SOFTTOKEN_PROV_A), pbData, pcbDataLen);
    case PP_CONTAINER:
    case PP_UNIQUE_CONTAINER:
        if (context->container.empty()) return Fail(NTE_BAD_KEYSET);
        return Answer(context->container.c_str(), static_cast<DWORD>(context->container.size() + 1), pbData, pcbDataLen);
    case PP_IMPTYPE: {
        const DWORD type = CRYPT_IMPL_SOFTWARE | CRYPT_IMPL_REMOVABLE;
        return Answer(&type, sizeof(type), pbData, pcbDataLen);
    }
    default:
        return CryptGetProvParam(context->inner, dwParam, pbData, pcbDataLen, dwFlags);
    }
}

BOOL WINAPI CPSetProvParam(HCRYPTPROV hProv, DWORD dwParam, const BYTE* pbData, DWORD dwFlags)
{
    TokenContext* context = Context(hProv);
    if (!context) return FALSE;
    const char* text = reinterpret_cast<const char*>(pbData);
    switch (dwParam) {
    case PP_SIGNATURE_PIN:
    case PP_KEYEXCHANGE_PIN:
        if (context->container.empty() || !softtoken::PinMatches(context->container, text)) return Fail(SCARD_W_WRONG_CHV);
        softtoken::RememberPin(context->container);
        return TRUE;
    case kSetSignaturePinParam:
        if (context->container.empty() || text == nullptr) return Fail(NTE_BAD_DATA);
        try {
            softtoken::StorePin(context->container, text);
        } catch (...) {
            return Fail(NTE_FAIL);
        }
        return TRUE;
    default:
        return CryptSetProvParam(context->inner, dwParam, pbData, dwFlags);
    }
}

BOOL WINAPI CPSignHash(HCRYPTPROV hProv, HCRYPTHASH hHash, DWORD dwKeySpec, LPCWSTR szDescription, DWORD dwFlags, BYTE* pbSignature,
                       DWORD* pcbSigLen)
{
    TokenContext* context = Context(hProv);
    if (!context) return FALSE;
    if (!softtoken::PinKnown(context->container)) {
        // A silent context may not ask; any other one stands for a user
        // who typed the right PIN at the token's prompt.
        if (context->silent) return Fail(NTE_SILENT_CONTEXT);
        softtoken::RememberPin(context->container);
    }
    return CryptSignHashW(hHash, dwKeySpec, szDescription, dwFlags, pbSignature, pcbSigLen);
}

BOOL WINAPI CPGenKey(HCRYPTPROV hProv, ALG_ID Algid, DWORD dwFlags, HCRYPTKEY* phKey)
{
    TokenContext* context = Context(hProv);
    return context && CryptGenKey(context->inner, Algid, dwFlags, phKey);
}

BOOL WINAPI CPDeriveKey(HCRYPTPROV hProv, ALG_ID Algid, HCRYPTHASH hBaseData, DWORD dwFlags, HCRYPTKEY* phKey)
{
    TokenContext* context = Context(hProv);
    return context && CryptDeriveKey(context->inner, Algid, hBaseData, dwFlags, phKey);
}

BOOL WINAPI CPDestroyKey(HCRYPTPROV, HCRYPTKEY hKey) { return CryptDestroyKey(hKey); }

BOOL WINAPI CPSetKeyParam(HCRYPTPROV, HCRYPTKEY hKey, DWORD dwParam, const BYTE* pbData, DWORD dwFlags)
{
    return CryptSetKeyParam(hKey, dwParam, pbData, dwFlags);
}

BOOL WINAPI CPGetKeyParam(HCRYPTPROV, HCRYPTKEY hKey, DWORD dwParam, BYTE* pbData, DWORD* pcbDataLen, DWORD dwFlags)
{
    return CryptGetKeyParam(hKey, dwParam, pbData, pcbDataLen, dwFlags);
}

BOOL WINAPI CPExportKey(HCRYPTPROV, HCRYPTKEY hKey, HCRYPTKEY hPubKey, DWORD dwBlobType, DWORD dwFlags, BYTE* pbData, DWORD* pcbDataLen)
{
    return CryptExportKey(hKey, hPubKey, dwBlobType, dwFlags, pbData, pcbDataLen);
}

BOOL WINAPI CPImportKey(HCRYPTPROV hProv, const BYTE* pbData, DWORD cbDataLen, HCRYPTKEY hPubKey, DWORD dwFlags, HCRYPTKEY* phKey)
{
    TokenContext* context = Context(hProv);
    return context && CryptImportKey(context->inner, pbData, cbDataLen, hPubKey, dwFlags, phKey);
}

BOOL WINAPI CPEncrypt(HCRYPTPROV, HCRYPTKEY hKey, HCRYPTHASH hHash, BOOL fFinal, DWORD dwFlags, BYTE* pbData, DWORD* pcbDataLen,
                      DWORD cbBufLen)
{
    return CryptEncrypt(hKey, hHash, fFinal, dwFlags, pbData, pcbDataLen, cbBufLen);
}

BOOL WINAPI CPDecrypt(HCRYPTPROV, HCRYPTKEY hKey, HCRYPTHASH hHash, BOOL fFinal, DWORD dwFlags, BYTE* pbData, DWORD* pcbDataLen)
{
    return CryptDecrypt(hKey, hHash, fFinal, dwFlags, pbData, pcbDataLen);
}

BOOL WINAPI CPGenRandom(HCRYPTPROV hProv, DWORD cbLen, BYTE* pbBuffer)
{
    TokenContext* context = Context(hProv);
    return context && CryptGenRandom(context->inner, cbLen, pbBuffer);
}

BOOL WINAPI CPGetUserKey(HCRYPTPROV hProv, DWORD dwKeySpec, HCRYPTKEY* phUserKey)
{
    TokenContext* context = Context(hProv);
    return context && CryptGetUserKey(context->inner, dwKeySpec, phUserKey);
}

BOOL WINAPI CPCreateHash(HCRYPTPROV hProv, ALG_ID Algid, HCRYPTKEY hKey, DWORD dwFlags, HCRYPTHASH* phHash)
{
    TokenContext* context = Context(hProv);
    return context && CryptCreateHash(context->inner, Algid, hKey, dwFlags, phHash);
}

BOOL WINAPI CPHashData(HCRYPTPROV, HCRYPTHASH hHash, const BYTE* pbData, DWORD cbDataLen, DWORD dwFlags)
{
    return CryptHashData(hHash, pbData, cbDataLen, dwFlags);
}

BOOL WINAPI CPHashSessionKey(HCRYPTPROV, HCRYPTHASH hHash, HCRYPTKEY hKey, DWORD dwFlags)
{
    return CryptHashSessionKey(hHash, hKey, dwFlags);
}

BOOL WINAPI CPSetHashParam(HCRYPTPROV, HCRYPTHASH hHash, DWORD dwParam, const BYTE* pbData, DWORD dwFlags)
{
    return CryptSetHashParam(hHash, dwParam, pbData, dwFlags);
}

BOOL WINAPI CPGetHashParam(HCRYPTPROV, HCRYPTHASH hHash, DWORD dwParam, BYTE* pbData, DWORD* pcbDataLen, DWORD dwFlags)
{
    return CryptGetHashParam(hHash, dwParam, pbData, pcbDataLen, dwFlags);
}

BOOL WINAPI CPVerifySignature(HCRYPTPROV, HCRYPTHASH hHash, const BYTE* pbSignature, DWORD cbSigLen, HCRYPTKEY hPubKey,
                              LPCWSTR szDescription, DWORD dwFlags)
{
    return CryptVerifySignatureW(hHash, pbSignature, cbSigLen, hPubKey, szDescription, dwFlags);
}

BOOL WINAPI CPDestroyHash(HCRYPTPROV, HCRYPTHASH hHash) { return CryptDestroyHash(hHash); }

BOOL WINAPI CPDuplicateHash(HCRYPTPROV, HCRYPTHASH hHash, DWORD* pdwReserved, DWORD dwFlags, HCRYPTHASH* phHash)
{
    return CryptDuplicateHash(hHash, pdwReserved, dwFlags, phHash);
}

BOOL WINAPI CPDuplicateKey(HCRYPTPROV, HCRYPTKEY hKey, DWORD* pdwReserved, DWORD dwFlags, HCRYPTKEY* phKey)
{
    return CryptDuplicateKey(hKey, pdwReserved, dwFlags, phKey);
}

} // extern "C"
