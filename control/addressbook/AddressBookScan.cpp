#include "AddressBookScan.h"

#include <utility>

namespace {

const std::string_view kEntries = "Entries";
const std::string_view kXref = "xref";
// The last reference "N 0 R" ends at the "]": N's last digit is this far before it.
constexpr std::size_t kLastDigitBeforeBracket = 5;
// Object numbers are read with at most this many digits, so N + 1 fits.
constexpr std::size_t kMaxDigits = 9;
// Enough written text to read N backwards from the "]".
constexpr std::size_t kLookBehind = kLastDigitBeforeBracket + kMaxDigits + 2;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal number whose last digit is at text[last], read backwards.
std::optional<std::int32_t> NumberEndingAt(std::string_view text, std::size_t last)
{
    if (last >= text.size() || !IsDigit(text[last])) return std::nullopt;
    std::size_t first = last;
    while (first > 0 && IsDigit(text[first - 1]) && last - first + 1 <= kMaxDigits) --first;
    const std::size_t count = last - first + 1;
    if (count > kMaxDigits) return std::nullopt;
    std::int32_t value = 0;
    for (std::size_t i = first; i <= last; ++i) value = value * 10 + (text[i] - '0');
    return value;
}

} // namespace

std::string IdLandmark(std::int32_t id) { return "/ID " + std::to_string(id) + "/Trust"; }

StreamSearch::StreamSearch(std::string pattern) : pattern_(std::move(pattern)) {}

bool StreamSearch::Feed(std::string_view block)
{
    if (found_ || pattern_.empty()) return found_ = true;
    window_.append(block);
    if (window_.find(pattern_) != std::string::npos) {
        found_ = true;
        window_.clear();
        return true;
    }
    // Keep only what could start a match that the next block completes.
    const std::size_t keep = pattern_.size() - 1;
    if (window_.size() > keep) window_.erase(0, window_.size() - keep);
    return false;
}

void ObjectNumberScan::Feed(std::string_view block)
{
    static const std::string_view markers[] = {" 0 obj", " 0 R"};
    std::string text = tail_;
    text.append(block);
    for (std::string_view marker : markers) {
        for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
            // A match wholly inside the kept tail was read with the block before.
            if (at == 0 || at + marker.size() <= tail_.size()) continue;
            if (const auto number = NumberEndingAt(text, at - 1); number && *number > highest_) highest_ = *number;
        }
    }
    // Room for a marker that the next block completes and the digits before it.
    const std::size_t keep = kMaxDigits + 1 + markers[0].size();
    tail_ = text.size() > keep ? text.substr(text.size() - keep) : text;
}

AddressBookRewriter::AddressBookRewriter(Sink sink, EntryMaker makeEntry, HighestObject highestObject)
    : sink_(std::move(sink)), makeEntry_(std::move(makeEntry)), highestObject_(std::move(highestObject))
{
    held_.reserve(kBlockSize * 2);
}

bool AddressBookRewriter::Feed(std::string_view block)
{
    if (stopped_) return false;
    held_.append(block);
    Process();
    return !stopped_;
}

RewriteOutcome AddressBookRewriter::Finish()
{
    if (stopped_) return RewriteOutcome::EntryUnavailable;
    Emit(held_.size());
    switch (state_) {
    case ScanState::Done: return RewriteOutcome::Inserted;
    case ScanState::SeekXref: return RewriteOutcome::Incomplete;
    case ScanState::SeekEntries: break;
    }
    return entriesSeen_ ? RewriteOutcome::Incomplete : RewriteOutcome::NoEntries;
}

void AddressBookRewriter::Write(std::string_view text)
{
    if (!text.empty()) sink_(text);
}

void AddressBookRewriter::Emit(std::size_t count)
{
    if (count == 0) return;
    Write(std::string_view(held_).substr(0, count));
    if (state_ == ScanState::SeekEntries) {
        written_.append(held_, 0, count);
        if (written_.size() > kLookBehind) written_.erase(0, written_.size() - kLookBehind);
    }
    held_.erase(0, count);
    scanFrom_ = scanFrom_ > count ? scanFrom_ - count : 0;
}

std::int32_t AddressBookRewriter::ReadLastReference(std::size_t bracket) const
{
    const std::string before = written_ + held_.substr(0, bracket);
    if (before.size() >= kLastDigitBeforeBracket) {
        if (const auto number = NumberEndingAt(before, before.size() - kLastDigitBeforeBracket)) return *number;
    }
    // No reference to read: one above every number in use keeps numbers unique.
    return highestObject_();
}

void AddressBookRewriter::Process()
{
    for (;;) {
        switch (state_) {
        case ScanState::SeekEntries:
            if (!entriesSeen_) {
                const std::size_t at = held_.find(kEntries, scanFrom_);
                if (at == std::string::npos) {
                    Emit(held_.size() > kEntries.size() - 1 ? held_.size() - (kEntries.size() - 1) : 0);
                    return;
                }
                Emit(at);
                entriesSeen_ = true;
                scanFrom_ = kEntries.size();
                continue;
            } else {
                const std::size_t bracket = held_.find(']', scanFrom_);
                if (bracket == std::string::npos) {
                    Emit(held_.size());
                    return;
                }
                const std::int32_t last = ReadLastReference(bracket);
                Emit(bracket);
                newObject_ = last + 1;
                Write(" " + std::to_string(newObject_) + " 0 R");
                state_ = ScanState::SeekXref;
                // The "]" stays held: the entry goes before the byte ahead of
                // "xref", which is the "]" itself when "xref" follows at once.
                scanFrom_ = 1;
                continue;
            }
        case ScanState::SeekXref: {
            const std::size_t at = held_.find(kXref, scanFrom_);
            if (at == std::string::npos) {
                // Keep a partial "xref" and the byte before it.
                Emit(held_.size() > kXref.size() ? held_.size() - kXref.size() : 0);
                scanFrom_ = 1;
                return;
            }
            Emit(at - 1);
            const std::optional<std::string> entry = makeEntry_(newObject_);
            if (!entry) {
                stopped_ = true;
                held_.clear();
                return;
            }
            Write(*entry);
            state_ = ScanState::Done;
            continue;
        }
        case ScanState::Done:
            Emit(held_.size());
            return;
        }
    }
}
