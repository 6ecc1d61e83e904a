#include "TrustImport.h"

#include "AddressBookUpdater.h"

namespace {
constexpr int kFirstTrustResource = 201;
constexpr int kLastTrustResource = 206;
// lID names a resource by its number less this.
constexpr int kSelectorBase = 202;
} // namespace

bool IsTrustCertSelected(int resource, std::int32_t lID) noexcept
{
    return lID == 0 || lID == resource - kSelectorBase;
}

std::int32_t ImportTrustCert(HMODULE resources, std::int32_t lID) noexcept
{
    try {
        AddressBookUpdater updater(resources);
        std::int32_t result = import_result::kNoSecurityFolder;
        for (int resource = kFirstTrustResource; resource <= kLastTrustResource; ++resource) {
            if (!IsTrustCertSelected(resource, lID)) continue;
            result = updater.ImportTrustEntry(resource);
            if (result == import_result::kDefaultWritten) break;
        }
        // Nothing chosen (or no folder): the pass reports where the address
        // book stands and inserts nothing.
        if (result == import_result::kNoSecurityFolder) result = updater.RewriteAddressBook();
        return result;
    } catch (...) {
        return import_result::kCannotOpen;
    }
}
