#pragma once
// Finds the user's Acrobat address book and inserts trust entries into it,
// one certificate resource at a time, for one call of ImportTrustCert.
#include "AddressBookScan.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class AddressBookUpdater {
public:
    // Looks for the address book at once (LocateAddressBook). Resources are
    // read from `resources`: the templates and the default address book.
    explicit AddressBookUpdater(HMODULE resources);

    // Imports certificate resource 201..206 unless the book has it already;
    // answers a code of import_result.
    std::int32_t ImportTrustEntry(int resource);
    // Whether the address book holds an entry with the resource's number as ID.
    bool HasTrustEntry(int resource);
    // Copies the book to the backup and writes it anew with the current
    // resource inserted; with no resource chosen it inserts nothing.
    std::int32_t RewriteAddressBook();

    std::int32_t Outcome() const noexcept { return outcome_; }
    const std::string& Folder() const noexcept { return folder_; }

private:
    void LocateAddressBook();
    std::optional<std::string> ProduceEntryText(std::int32_t objectNumber);
    std::int32_t HighestObjectNumber();
    std::int32_t StreamIntoAside(const std::string& aside);
    bool ReplaceBookWith(const std::string& aside);

    HMODULE resources_;
    std::string folder_;
    std::string bookPath_;
    std::string backupPath_;
    int resource_ = 0;
    ScanState state_ = ScanState::SeekEntries;
    std::int32_t outcome_ = -1;
};
