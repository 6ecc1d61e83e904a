#pragma once
// The trusted-identity import behind IWevraCtrl::ImportTrustCert.
#include "ImportResult.h"

#include <windows.h>

#include <cstdint>

// Whether lID selects certificate resource 201..206: 0 selects all, and
// otherwise the resource numbered lID + 202.
bool IsTrustCertSelected(int resource, std::int32_t lID) noexcept;

// Adds the selected certificates, carried as OLMOCERDATA resources of
// `resources`, to the current user's Acrobat address book; answers a code of
// import_result. Never throws.
std::int32_t ImportTrustCert(HMODULE resources, std::int32_t lID) noexcept;
