#pragma once
// The insertion done on the whole text at once: the reference the streaming
// rewriter must reproduce whatever the block boundaries.
#include "AddressBookScan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

struct WholeEdit {
    std::string text;
    RewriteOutcome outcome;
};

inline std::optional<std::int32_t> DigitsEndingAt(const std::string& text, std::size_t last)
{
    if (last >= text.size() || text[last] < '0' || text[last] > '9') return std::nullopt;
    std::size_t first = last;
    while (first > 0 && text[first - 1] >= '0' && text[first - 1] <= '9') --first;
    if (last - first + 1 > 9) return std::nullopt;
    return std::stoi(text.substr(first, last - first + 1));
}

inline std::int32_t HighestNumberWhole(const std::string& text)
{
    std::int32_t highest = 0;
    for (const char* marker : {" 0 obj", " 0 R"}) {
        for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
            if (at == 0) continue;
            if (auto n = DigitsEndingAt(text, at - 1); n && *n > highest) highest = *n;
        }
    }
    return highest;
}

inline WholeEdit EditWhole(std::string text, const std::function<std::optional<std::string>(std::int32_t)>& makeEntry)
{
    const std::size_t entries = text.find("Entries");
    if (entries == std::string::npos) return {text, RewriteOutcome::NoEntries};
    const std::size_t bracket = text.find(']', entries + 7);
    if (bracket == std::string::npos) return {text, RewriteOutcome::Incomplete};
    std::optional<std::int32_t> last;
    if (bracket >= 5) last = DigitsEndingAt(text, bracket - 5);
    const std::int32_t next = (last ? *last : HighestNumberWhole(text)) + 1;
    const std::string reference = " " + std::to_string(next) + " 0 R";
    text.insert(bracket, reference);
    const std::size_t xref = text.find("xref", bracket + reference.size());
    if (xref == std::string::npos) return {text, RewriteOutcome::Incomplete};
    const auto entry = makeEntry(next);
    if (!entry) return {text, RewriteOutcome::EntryUnavailable};
    text.insert(xref - 1, *entry);
    return {text, RewriteOutcome::Inserted};
}

struct StreamEdit {
    std::string text;
    RewriteOutcome outcome;
    std::size_t highestAsked = 0;
};

// Streams text through AddressBookRewriter in blocks of the given size.
inline StreamEdit EditStreamed(const std::string& text,
                               const std::function<std::optional<std::string>(std::int32_t)>& makeEntry,
                               std::size_t blockSize = kBlockSize)
{
    StreamEdit result{};
    AddressBookRewriter rewriter([&](std::string_view bytes) { result.text.append(bytes); }, makeEntry,
                                 [&] {
                                     ++result.highestAsked;
                                     ObjectNumberScan scan;
                                     for (std::size_t at = 0; at < text.size(); at += blockSize)
                                         scan.Feed(std::string_view(text).substr(at, blockSize));
                                     return scan.Highest();
                                 });
    for (std::size_t at = 0; at < text.size(); at += blockSize) {
        if (!rewriter.Feed(std::string_view(text).substr(at, blockSize))) break;
    }
    result.outcome = rewriter.Finish();
    return result;
}
