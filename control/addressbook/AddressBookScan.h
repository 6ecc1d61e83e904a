#pragma once
// Finds the landmarks of an address book in a stream of blocks and inserts a
// new entry while the text passes through, holding back only the few bytes a
// landmark across a block boundary needs, so memory does not grow with the
// address book.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The address book is read and written in blocks of this size.
constexpr std::size_t kBlockSize = 2048;

// "/ID %d/Trust" with id in place of %d: the text every entry with that ID holds.
std::string IdLandmark(std::int32_t id);

// Looks for one pattern in text that arrives in blocks; a match that
// straddles blocks counts.
class StreamSearch {
public:
    explicit StreamSearch(std::string pattern);
    // Answers whether the pattern has been seen so far, this block included.
    bool Feed(std::string_view block);
    bool Found() const noexcept { return found_; }

private:
    std::string pattern_;
    std::string window_;
    bool found_ = false;
};

// The highest object number that the text shows in "<n> 0 obj" or "<n> 0 R"
// (numbers of up to nine digits); 0 when there is none.
class ObjectNumberScan {
public:
    void Feed(std::string_view block);
    std::int32_t Highest() const noexcept { return highest_; }

private:
    std::string tail_;
    std::int32_t highest_ = 0;
};

enum class ScanState { SeekEntries, SeekXref, Done };

enum class RewriteOutcome {
    Inserted,          // reference and entry object inserted
    NoEntries,         // no "Entries": copied through unchanged
    EntryUnavailable,  // the entry text could not be made; the pass stopped
    Incomplete,        // "Entries" without a following "]" or "xref": output is not a valid edit
};

// Streams one address book through, inserting a reference to object N + 1
// before the "]" that closes the array after "Entries", and the entry object
// before the byte that precedes the following "xref". N is the number of the
// array's last reference ("N 0 R" directly before "]").
class AddressBookRewriter {
public:
    using Sink = std::function<void(std::string_view)>;
    // Makes the entry object's text for the given object number.
    using EntryMaker = std::function<std::optional<std::string>(std::int32_t objectNumber)>;
    // Answers the highest object number in the whole text; asked only when
    // the array shows no last reference to read ("[]", or a blank before "]").
    using HighestObject = std::function<std::int32_t()>;

    AddressBookRewriter(Sink sink, EntryMaker makeEntry, HighestObject highestObject);

    // Passes one block through. Answers false once the entry text could not
    // be made; nothing more is written then.
    bool Feed(std::string_view block);
    // Writes what is held back and says how the pass went.
    RewriteOutcome Finish();

    ScanState State() const noexcept { return state_; }
    // N + 1, the number of the inserted object (0 until the reference is in).
    std::int32_t NewObjectNumber() const noexcept { return newObject_; }

private:
    void Process();
    void Emit(std::size_t count);
    void Write(std::string_view text);
    std::int32_t ReadLastReference(std::size_t bracket) const;

    Sink sink_;
    EntryMaker makeEntry_;
    HighestObject highestObject_;
    ScanState state_ = ScanState::SeekEntries;
    bool entriesSeen_ = false;
    bool stopped_ = false;
    std::int32_t newObject_ = 0;
    // Bytes not yet written; searches start at scanFrom_.
    std::string held_;
    std::size_t scanFrom_ = 0;
    // The last bytes written before the "]" is found, to read N backwards.
    std::string written_;
};
