#include "CertMethods.h"

#include "certificates/SelectCert.h"

// The filter is matched as wide text, so names outside the ANSI code page match too.
std::wstring wevra::SelectCert(BSTR bstrFilter, short sAutoSelected, long hwndParent)
{
    return ::SelectCert(bstrFilter, sAutoSelected, reinterpret_cast<HWND>(static_cast<LONG_PTR>(hwndParent)));
}
