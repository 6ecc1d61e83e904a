#pragma once
// Result codes of ImportTrustCert, as scripts see them in plRes.
#include <cstdint>

namespace import_result {
// The last selected certificate was present already, or was inserted; also
// when lID selects no certificate.
constexpr std::int32_t kDone = 0;
// No security folder of Acrobat 11.0, 10.0 or 9.0 (or no APPDATA).
constexpr std::int32_t kNoSecurityFolder = -1;
// The folder held no address book: the default one was written, nothing else done.
constexpr std::int32_t kDefaultWritten = -2;
// The backup could not be read, or the address book could not be written.
constexpr std::int32_t kCannotOpen = 1;
// The scratch template could not be made, opened or used.
constexpr std::int32_t kTemplateUnusable = 3;
// The address book has "Entries" but no "]" or "xref" after it; left unchanged.
constexpr std::int32_t kLandmarksMissing = 4;
// The address book could not be copied to the backup; an older backup was there.
constexpr std::int32_t kBackupFailed = 5;
} // namespace import_result
