#include "CertMethods.h"

#include "certificates/GetModuleFileVersion.h"

// Read from the DLL's file at every call, so a replaced file answers its own version.
HRESULT wevra::GetVersion(std::wstring& version)
{
    FileVersionText found = GetModuleFileVersion(ModuleOfThisCode());
    version = std::move(found.text);
    return found.hr;
}
