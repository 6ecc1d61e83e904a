#include "AddressBookFormat.h"
#include "AddressBookScan.h"
#include "EntryText.h"
#include "TrustFiles.h"
#include "WholeTextEdit.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// An entry maker that formats the given template with the ID, like the updater.
AddressBookRewriter::EntryMaker EntryFrom(std::string entryTemplate, std::int32_t id)
{
    return [entryTemplate, id](std::int32_t objectNumber) { return FormatEntryTemplate(entryTemplate, objectNumber, id); };
}

const std::string kSmallTemplate = "\r%d 0 obj\r<</ABEType 1/Cert<00>/Editable true/ID %d/Trust 96/Usage 1/Viewable true>>\rendobj\r";

// A small address book (one entry) that fits in one block.
std::string SmallBook()
{
    return MakeAddressBook({BookEntry{std::string("\x30\x03\x02\x01\x05", 5)}}, 1001).text;
}

// Moves `landmark` (its first occurrence) to `offset` by padding a comment
// line after the header.
std::string PlaceAt(const std::string& book, const std::string& landmark, std::size_t offset)
{
    const std::size_t at = book.find(landmark);
    EXPECT_NE(at, std::string::npos);
    EXPECT_GE(offset, at + 2);
    const std::size_t pad = offset - at;
    return book.substr(0, 13) + "%" + std::string(pad - 2, 'p') + "\r" + book.substr(13);
}

void ExpectSameAsWhole(const std::string& book, std::size_t blockSize = kBlockSize)
{
    const auto makeEntry = EntryFrom(kSmallTemplate, 201);
    const WholeEdit whole = EditWhole(book, makeEntry);
    const StreamEdit streamed = EditStreamed(book, makeEntry, blockSize);
    EXPECT_EQ(streamed.outcome, whole.outcome);
    EXPECT_EQ(streamed.text, whole.text);
}

TEST(RewriteAddressBook, insertsReferenceBeforeBracketAndObjectBeforeCrOfXref)
{
    const std::string book = SmallBook();
    const StreamEdit edit = EditStreamed(book, EntryFrom(kSmallTemplate, 201));
    ASSERT_EQ(edit.outcome, RewriteOutcome::Inserted);
    const std::size_t xref = book.find("xref");
    const std::string entry = *FormatEntryTemplate(kSmallTemplate, 3, 201);
    std::string expected = book;
    expected.insert(xref - 1, entry);
    expected.replace(expected.find("2 0 R]"), 6, "2 0 R 3 0 R]");
    EXPECT_EQ(edit.text, expected);
    // The entry goes before the CR ahead of "xref": it follows the last
    // object's "endobj" directly, and an empty line parts it from "xref".
    EXPECT_NE(edit.text.find(">>\rendobj\r3 0 obj\r"), std::string::npos);
    EXPECT_NE(edit.text.find("/Viewable true>>\rendobj\r\rxref\r\n0 3\r\n"), std::string::npos);
    EXPECT_EQ(edit.highestAsked, 0u);
}

TEST(RewriteAddressBook, lastReferenceOfSeveralDigitsIsReadWhole)
{
    const std::string book = "%PPKLITE-2.1\r1 0 obj\r<</Entries[9 0 R 10 0 R]>>\rendobj\r\rxref\r\n";
    const StreamEdit edit = EditStreamed(book, EntryFrom("\r%d 0 obj\r/ID %d/Trust\rendobj\r", 201));
    ASSERT_EQ(edit.outcome, RewriteOutcome::Inserted);
    EXPECT_NE(edit.text.find("[9 0 R 10 0 R 11 0 R]"), std::string::npos);
    EXPECT_NE(edit.text.find("\r11 0 obj\r/ID 201/Trust\rendobj\r\rxref"), std::string::npos);
}

TEST(RewriteAddressBook, unreadableLastReferenceTakesOneAboveTheHighestNumber)
{
    struct Case {
        const char* name;
        std::string book;
        std::string reference;
    };
    const std::string objects = "\r7 0 obj\r<<>>\rendobj\r\rxref\r\n<</Root 1 0 R>>";
    const Case cases[] = {
        {"emptyArray", "1 0 obj\r<</Entries[]>>\rendobj" + objects, "[ 8 0 R]"},
        {"blankBeforeBracket", "1 0 obj\r<</Entries[2 0 R ]>>\rendobj" + objects, "[2 0 R  8 0 R]"},
        {"onlyTheCatalog", "1 0 obj\r<</Entries[]>>\rendobj\rxref\r\n", "[ 2 0 R]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StreamEdit edit = EditStreamed(c.book, EntryFrom(kSmallTemplate, 201));
        EXPECT_EQ(edit.outcome, RewriteOutcome::Inserted);
        EXPECT_EQ(edit.highestAsked, 1u);
        EXPECT_NE(edit.text.find(c.reference), std::string::npos) << edit.text;
        ExpectSameAsWhole(c.book);
    }
}

TEST(RewriteAddressBook, withoutLandmarksNothingUsableIsInserted)
{
    struct Case {
        const char* name;
        std::string book;
        RewriteOutcome outcome;
    };
    const Case cases[] = {
        {"noEntriesCopiedThrough", "%PPKLITE-2.1\r1 0 obj\r<<>>\rendobj\rxref\r\n", RewriteOutcome::NoEntries},
        {"entriesWithoutBracket", "1 0 obj\r<</Entries[2 0 R>>\rendobj\rxref\r\n", RewriteOutcome::Incomplete},
        {"entriesWithoutXref", "1 0 obj\r<</Entries[2 0 R]>>\rendobj\rstart", RewriteOutcome::Incomplete},
        {"empty", "", RewriteOutcome::NoEntries},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const StreamEdit edit = EditStreamed(c.book, EntryFrom(kSmallTemplate, 201));
        EXPECT_EQ(edit.outcome, c.outcome);
        if (c.outcome == RewriteOutcome::NoEntries) EXPECT_EQ(edit.text, c.book);
        ExpectSameAsWhole(c.book);
    }
}

TEST(RewriteAddressBook, startxrefAfterTheSectionIsNotTheKeyword)
{
    const std::string book = SmallBook();
    const StreamEdit edit = EditStreamed(book, EntryFrom(kSmallTemplate, 201));
    const std::size_t object = edit.text.find("\r3 0 obj\r");
    EXPECT_LT(object, edit.text.find("xref"));
    EXPECT_EQ(edit.text.substr(edit.text.find("startxref")), book.substr(book.find("startxref")));
}

TEST(RewriteAddressBook, entryThatCannotBeMadeStopsThePass)
{
    std::size_t written = 0;
    AddressBookRewriter rewriter([&](std::string_view bytes) { written += bytes.size(); },
                                 [](std::int32_t) { return std::optional<std::string>(); }, [] { return 0; });
    const std::string book = SmallBook();
    EXPECT_FALSE(rewriter.Feed(book));
    EXPECT_FALSE(rewriter.Feed("more"));
    EXPECT_EQ(rewriter.Finish(), RewriteOutcome::EntryUnavailable);
    EXPECT_LT(written, book.size());
}

struct BoundaryCase {
    const char* name;
    std::string landmark;
    std::size_t offset;
};

// Each landmark placed so that it starts, ends or straddles at a block
// boundary; the streamed edit must equal the whole-text edit.
TEST(RewriteAddressBook, landmarksOnBlockBoundariesEditAsIfReadWhole)
{
    const std::string book = DefaultBook();
    const std::size_t b = kBlockSize;
    const BoundaryCase cases[] = {
        {"entriesStraddles", "Entries", 2 * b - 3},
        {"entriesStartsBlock", "Entries", 2 * b},
        {"entriesEndsBlock", "Entries", 2 * b - 7},
        {"bracketEndsBlock", "]/NextID", 2 * b - 1},
        {"bracketStartsBlock", "]/NextID", 2 * b},
        {"lastDigitsStraddle", "10 0 R]", 2 * b - 1},
        {"lastReferenceStartsBlock", "10 0 R]", 2 * b},
        {"xrefStraddles", "xref\r\n0 11", 6 * b - 2},
        {"xrefStartsBlockItsCrEndsTheOneBefore", "xref\r\n0 11", 6 * b},
        {"crBeforeXrefStartsBlock", "xref\r\n0 11", 6 * b + 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The reference is inserted before "xref" is looked for, so place
        // "xref" where it will stand then.
        const bool afterReference = c.landmark.rfind("xref", 0) == 0;
        const std::string placed = PlaceAt(book, c.landmark, c.offset - (afterReference ? 7 : 0));
        ExpectSameAsWhole(placed);
    }
}

TEST(RewriteAddressBook, everyAlignmentAroundABoundaryEditsAsIfReadWhole)
{
    const std::string small = SmallBook();
    const std::string book = DefaultBook();
    for (std::size_t shift = 0; shift < 80; ++shift) {
        SCOPED_TRACE(shift);
        // Entries and xref together in one block, and each alone near a boundary.
        ExpectSameAsWhole(PlaceAt(small, "Entries", kBlockSize - 40 + shift));
        ExpectSameAsWhole(PlaceAt(small, "xref", kBlockSize - 40 + shift));
        ExpectSameAsWhole(PlaceAt(book, "xref", 5 * kBlockSize - 40 + shift));
    }
}

TEST(RewriteAddressBook, smallBookWithBothLandmarksInOneBlock)
{
    const std::string book = SmallBook();
    ASSERT_LT(book.find("xref"), kBlockSize);
    ExpectSameAsWhole(book);
}

TEST(RewriteAddressBook, anyBlockSizesEditAsIfReadWhole)
{
    const std::string book = DefaultBook();
    for (std::size_t blockSize : {1u, 2u, 3u, 5u, 7u, 64u, 2047u, 2049u, 100000u}) {
        SCOPED_TRACE(blockSize);
        ExpectSameAsWhole(book, blockSize);
        ExpectSameAsWhole(SmallBook(), blockSize);
    }
}

TEST(RewriteAddressBook, sixTemplatesIntoTheDefaultBookGiveTheDocumentedLayout)
{
    const std::string book = DefaultBook();
    const std::size_t oldXref = book.find("xref");
    std::string text = book;
    std::vector<std::size_t> entryLengths;
    for (int resource = 201; resource <= 206; ++resource) {
        const std::string entryTemplate = EntryTemplateOf(resource);
        const StreamEdit edit = EditStreamed(text, EntryFrom(entryTemplate, resource));
        ASSERT_EQ(edit.outcome, RewriteOutcome::Inserted);
        EXPECT_EQ(edit.text, EditWhole(text, EntryFrom(entryTemplate, resource)).text);
        text = edit.text;
        const std::size_t objectDigits = std::to_string(resource - 190).size();
        entryLengths.push_back(entryTemplate.size() - 4 + objectDigits + 3);
    }

    EXPECT_NE(text.find("/Entries[2 0 R 3 0 R 4 0 R 5 0 R 6 0 R 7 0 R 8 0 R 9 0 R 10 0 R 11 0 R 12 0 R 13 0 R 14 0 R "
                        "15 0 R 16 0 R]/NextID 1010/"),
              std::string::npos);
    // Six references of 7 bytes move everything after the catalog; each entry
    // starts with its own CR, put where the CR ahead of "xref" stood.
    std::size_t expectedAt = oldXref + 6 * 7;
    for (int i = 0; i < 6; ++i) {
        const int object = 11 + i;
        SCOPED_TRACE(object);
        const std::string head = std::to_string(object) + " 0 obj\r<</ABEType 1/Cert<";
        EXPECT_EQ(text.substr(expectedAt, head.size()), head);
        // The first follows object 10's "endobj" line; the others an empty line.
        EXPECT_EQ(text.substr(expectedAt - 2, 2), i == 0 ? "j\r" : "\r\r");
        const std::size_t end = expectedAt + entryLengths[i] - 1;
        const std::string tail = "/ID " + std::to_string(201 + i) + "/Trust 96/Usage 1/Viewable true>>\rendobj\r";
        EXPECT_EQ(text.substr(end - tail.size(), tail.size()), tail);
        expectedAt += entryLengths[i];
    }
    const std::size_t newXref = text.find("xref");
    EXPECT_EQ(newXref, expectedAt);
    EXPECT_EQ(text.substr(newXref - 1), book.substr(oldXref - 1));
    EXPECT_EQ(text.size(), book.size() + 6 * 7 + std::accumulate(entryLengths.begin(), entryLengths.end(), std::size_t{0}));
    EXPECT_NE(text.find("\r\n0 11\r\n"), std::string::npos);
    EXPECT_NE(text.find("startxref\r\n" + std::to_string(oldXref) + "\r\n%%EOF\r\n"), std::string::npos);
}

TEST(RewriteAddressBook, randomBlockSplitsEditAsIfReadWhole)
{
    std::mt19937 random(7);
    const std::string book = DefaultBook();
    const auto makeEntry = EntryFrom(EntryTemplateOf(203), 203);
    const std::string expected = EditWhole(book, makeEntry).text;
    for (int round = 0; round < 50; ++round) {
        std::string out;
        AddressBookRewriter rewriter([&](std::string_view bytes) { out.append(bytes); }, makeEntry, [] { return 0; });
        for (std::size_t at = 0; at < book.size();) {
            const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 40)(random);
            rewriter.Feed(std::string_view(book).substr(at, size));
            at += size;
        }
        ASSERT_EQ(rewriter.Finish(), RewriteOutcome::Inserted);
        ASSERT_EQ(out, expected) << "round " << round;
    }
}

TEST(IdLandmark, matchesOnlyTheExactId)
{
    EXPECT_EQ(IdLandmark(201), "/ID 201/Trust");
    const std::string book = DefaultBook();
    for (int id = 201; id <= 206; ++id) {
        StreamSearch search(IdLandmark(id));
        for (std::size_t at = 0; at < book.size(); at += kBlockSize) search.Feed(std::string_view(book).substr(at, kBlockSize));
        EXPECT_FALSE(search.Found()) << id;
    }
    for (const char* text : {"/ID 1201/Trust", "/ID 2010/Trust", "/ID 201 /Trust", "/ID 20/Trust"}) {
        StreamSearch search(IdLandmark(201));
        EXPECT_FALSE(search.Feed(text)) << text;
    }
}

TEST(StreamSearch, findsPatternStraddlingBlocksAndAfterNulBytes)
{
    const std::string pattern = IdLandmark(201);
    for (std::size_t cut = 0; cut <= pattern.size(); ++cut) {
        SCOPED_TRACE(cut);
        std::string text(kBlockSize - cut, '\0');
        text += pattern + std::string(100, '\xFF');
        StreamSearch search(pattern);
        bool found = false;
        for (std::size_t at = 0; at < text.size(); at += kBlockSize) found = search.Feed(std::string_view(text).substr(at, kBlockSize));
        EXPECT_TRUE(found);
    }
}

TEST(ObjectNumberScan, highestNumberAcrossBlocksAgreesWithWholeText)
{
    std::string text = DefaultBook();
    text += " 123456789 0 R 1234567890 0 obj";
    for (std::size_t blockSize : {1u, 3u, 2048u}) {
        ObjectNumberScan scan;
        for (std::size_t at = 0; at < text.size(); at += blockSize) scan.Feed(std::string_view(text).substr(at, blockSize));
        EXPECT_EQ(scan.Highest(), HighestNumberWhole(text)) << blockSize;
        EXPECT_EQ(scan.Highest(), 123456789);
    }
}

} // namespace
