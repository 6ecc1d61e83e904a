#include "AddressBookUpdater.h"

#include "EntryText.h"
#include "ExtractResourceToFile.h"
#include "Handles.h"
#include "ImportResult.h"

#include <array>
#include <string_view>

namespace {

const char kBookName[] = "addressbook.acrodata";
const char kBackupName[] = "temp.acrodata";
// The new text is written here and then replaces the book, so a pass that
// fails half-way never leaves a cut address book behind.
const char kAsideName[] = "addressbook.acrodata.new";
// Scratch copy of the template, in the process's current folder.
const char kScratchName[] = "acrodata.tmp";
constexpr int kAcrobatVersions[] = {11, 10, 9};
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

UniqueFile Open(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    return UniqueFile(CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads the next block; an empty view at the end or on a read error.
std::string_view ReadBlock(HANDLE file, std::array<char, kBlockSize>& buffer, bool& failed)
{
    DWORD read = 0;
    if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
        failed = true;
        return {};
    }
    return {buffer.data(), read};
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::string AppData()
{
    const DWORD size = GetEnvironmentVariableA("APPDATA", nullptr, 0);
    if (size == 0) return {};
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA("APPDATA", value.data(), size);
    value.resize(length < size ? length : 0);
    return value;
}

} // namespace

AddressBookUpdater::AddressBookUpdater(HMODULE resources) : resources_(resources) { LocateAddressBook(); }

void AddressBookUpdater::LocateAddressBook()
{
    outcome_ = import_result::kNoSecurityFolder;
    const std::string appData = AppData();
    if (appData.empty()) return;
    for (int version : kAcrobatVersions) {
        const std::string folder = appData + "\\Adobe\\Acrobat\\" + std::to_string(version) + ".0\\Security\\";
        if (!Exists(folder)) continue;
        if (Exists(folder + kBookName)) {
            folder_ = folder;
            bookPath_ = folder + kBookName;
            backupPath_ = folder + kBackupName;
            outcome_ = import_result::kDone;
        } else {
            ExtractResourceToFile(resources_, (folder + kBookName).c_str(), kTrustResourceType,
                                  kDefaultAddressBookResource);
            outcome_ = import_result::kDefaultWritten;
        }
        return;
    }
}

std::int32_t AddressBookUpdater::ImportTrustEntry(int resource)
{
    resource_ = resource;
    state_ = ScanState::SeekEntries;
    if (outcome_ != import_result::kDone) return outcome_;
    if (HasTrustEntry(resource)) return import_result::kDone;
    return RewriteAddressBook();
}

bool AddressBookUpdater::HasTrustEntry(int resource)
{
    if (!CopyFileA(bookPath_.c_str(), backupPath_.c_str(), FALSE)) return false;
    bool found = false;
    {
        UniqueFile backup = Open(backupPath_, GENERIC_READ, kShareAll, OPEN_EXISTING);
        if (backup) {
            StreamSearch search(IdLandmark(resource));
            std::array<char, kBlockSize> buffer;
            bool failed = false;
            for (std::string_view block = ReadBlock(backup.get(), buffer, failed); !block.empty() && !found;
                 block = ReadBlock(backup.get(), buffer, failed))
                found = search.Feed(block);
        }
    }
    DeleteFileA(backupPath_.c_str());
    return found;
}

std::int32_t AddressBookUpdater::RewriteAddressBook()
{
    if (outcome_ != import_result::kDone) return outcome_;
    // No certificate chosen: a pass would insert nothing.
    if (resource_ == 0) return import_result::kDone;

    const bool copyFailed = !CopyFileA(bookPath_.c_str(), backupPath_.c_str(), FALSE);
    {
        const UniqueFile backup = Open(backupPath_, GENERIC_READ, kShareAll, OPEN_EXISTING);
        const UniqueFile book = Open(bookPath_, GENERIC_WRITE, kShareAll, OPEN_EXISTING);
        if (!backup || !book) return import_result::kCannotOpen;
        if (copyFailed) return import_result::kBackupFailed;
    }

    const std::string aside = folder_ + kAsideName;
    std::int32_t result = StreamIntoAside(aside);
    if (result == import_result::kDone && state_ == ScanState::Done && !ReplaceBookWith(aside))
        result = import_result::kCannotOpen;
    DeleteFileA(aside.c_str());
    if (result == import_result::kDone) DeleteFileA(backupPath_.c_str());
    return result;
}

std::int32_t AddressBookUpdater::StreamIntoAside(const std::string& aside)
{
    const UniqueFile backup = Open(backupPath_, GENERIC_READ, kShareAll, OPEN_EXISTING);
    UniqueFile out = Open(aside, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!backup || !out) return import_result::kCannotOpen;

    bool writeFailed = false;
    AddressBookRewriter rewriter(
        [&](std::string_view bytes) { writeFailed = writeFailed || !WriteAll(out.get(), bytes); },
        [this](std::int32_t objectNumber) { return ProduceEntryText(objectNumber); },
        [this] { return HighestObjectNumber(); });
    std::array<char, kBlockSize> buffer;
    bool readFailed = false;
    for (std::string_view block = ReadBlock(backup.get(), buffer, readFailed); !block.empty();
         block = ReadBlock(backup.get(), buffer, readFailed)) {
        if (!rewriter.Feed(block)) break;
    }
    const RewriteOutcome outcome = rewriter.Finish();
    state_ = rewriter.State();
    if (!CloseHandle(out.release())) writeFailed = true;

    switch (outcome) {
    case RewriteOutcome::EntryUnavailable: return import_result::kTemplateUnusable;
    case RewriteOutcome::Incomplete: return import_result::kLandmarksMissing;
    case RewriteOutcome::NoEntries:
    case RewriteOutcome::Inserted: break;
    }
    return readFailed || writeFailed ? import_result::kCannotOpen : import_result::kDone;
}

bool AddressBookUpdater::ReplaceBookWith(const std::string& aside)
{
    if (MoveFileExA(aside.c_str(), bookPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    // Acrobat may hold the book open with sharing that allows writing but not
    // replacing: then write the new text into it.
    const UniqueFile in = Open(aside, GENERIC_READ, kShareAll, OPEN_EXISTING);
    UniqueFile book = Open(bookPath_, GENERIC_WRITE, kShareAll, TRUNCATE_EXISTING);
    if (!in || !book) return false;
    std::array<char, kBlockSize> buffer;
    bool failed = false;
    for (std::string_view block = ReadBlock(in.get(), buffer, failed); !block.empty();
         block = ReadBlock(in.get(), buffer, failed)) {
        if (!WriteAll(book.get(), block)) return false;
    }
    return !failed && CloseHandle(book.release());
}

std::int32_t AddressBookUpdater::HighestObjectNumber()
{
    ObjectNumberScan scan;
    const UniqueFile backup = Open(backupPath_, GENERIC_READ, kShareAll, OPEN_EXISTING);
    if (backup) {
        std::array<char, kBlockSize> buffer;
        bool failed = false;
        for (std::string_view block = ReadBlock(backup.get(), buffer, failed); !block.empty();
             block = ReadBlock(backup.get(), buffer, failed))
            scan.Feed(block);
    }
    return scan.Highest();
}

std::optional<std::string> AddressBookUpdater::ProduceEntryText(std::int32_t objectNumber)
{
    // A scratch file left by someone else is used as it is, but only ever
    // through FormatEntryTemplate, which refuses anything but two "%d".
    if (!Exists(kScratchName)) ExtractResourceToFile(resources_, kScratchName, kTrustResourceType, resource_);
    UniqueFile scratch = Open(kScratchName, GENERIC_READ, kShareAll, OPEN_EXISTING);
    if (!scratch) return std::nullopt;

    std::optional<std::string> entry;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(scratch.get(), &size) && size.QuadPart < static_cast<LONGLONG>(kEntryBufferSize)) {
        std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (content.empty() || ReadFile(scratch.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) {
            content.resize(read);
            entry = FormatEntryTemplate(content, objectNumber, resource_);
        }
    }
    scratch.reset();
    DeleteFileA(kScratchName);
    return entry;
}
