#include "CertMethods.h"

// Not built yet: no version is reported.
HRESULT wevra::GetVersion(std::wstring& version)
{
    version.clear();
    return S_OK;
}
