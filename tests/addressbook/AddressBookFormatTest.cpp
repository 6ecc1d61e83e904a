#include "AddressBookFormat.h"
#include "EntryText.h"
#include "TrustFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

// Undoes the literal form: drops line continuations, resolves escapes.
std::string DecodeLiteral(const std::string& literal)
{
    std::string out;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        if (literal[i] != '\\') {
            out += literal[i];
            continue;
        }
        const char next = literal[++i];
        if (next == '\r') continue;
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

struct LiteralCase {
    const char* name;
    std::string der;
    std::string expected;
};

TEST(CertLiteralString, escapesAndContinuations)
{
    const std::string a254(254, 'A'), a255(255, 'A');
    const LiteralCase cases[] = {
        {"escapedBytes", std::string("\r\n()\\", 5), "(\\r\\n\\(\\)\\\\)"},
        {"binaryUnchanged", std::string("\0\x7F\x80\xFF%", 5), std::string("(\0\x7F\x80\xFF%)", 7)},
        {"continuationAfter255", a255 + "B", "(" + a255 + "\\\r" + "B)"},
        {"noContinuationAt254", a254, "(" + a254 + ")"},
        {"pairStartingAt255KeepsTogether", a254 + "(" + "B", "(" + a254 + "\\(" + "\\\r" + "B)"},
        {"pairEndingAt255", std::string(253, 'A') + ")" + "B", "(" + std::string(253, 'A') + "\\)\\\r" + "B)"},
        {"countRestartsAfterContinuation", std::string(510, 'A'),
         "(" + a255 + "\\\r" + a255 + "\\\r" + ")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CertLiteralString(c.der), c.expected);
        EXPECT_EQ(DecodeLiteral(CertLiteralString(c.der)), c.der);
    }
}

TEST(CertHexString, upperCaseDigitsInAngleBrackets)
{
    EXPECT_EQ(CertHexString(std::string("\x00\x0A\xBC\xFF", 4)), "<000ABCFF>");
}

TEST(EntryTemplates, eachIsTheCertificateInHexBetweenFixedTexts)
{
    for (int i = 0; i < 6; ++i) {
        const int resource = 201 + i;
        SCOPED_TRACE(resource);
        const std::string der = TrustCert(kResourceCerts[i]);
        const std::string entry = EntryTemplateOf(resource);
        EXPECT_EQ(entry.size(), 90 + 2 * der.size());
        EXPECT_EQ(entry.substr(0, 28), "\r%d 0 obj\r<</ABEType 1/Cert<");
        EXPECT_EQ(entry.substr(entry.size() - 62), ">/Editable true/ID %d/Trust 96/Usage 1/Viewable true>>\rendobj\r");
        EXPECT_EQ(entry.substr(27, 2 * der.size() + 2), CertHexString(der));
        EXPECT_EQ(std::count(entry.begin(), entry.end(), '%'), 2);
    }
}

TEST(EntryTemplates, formattedWithObjectNumberAndIdGrowByTheirDigits)
{
    const std::string entryTemplate = EntryTemplateOf(201);
    const auto entry = FormatEntryTemplate(entryTemplate, 11, 201);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->size(), entryTemplate.size() - 4 + 2 + 3);
    EXPECT_EQ(entry->substr(0, 10), "\r11 0 obj\r");
    EXPECT_NE(entry->find("/ID 201/Trust 96/"), std::string::npos);
}

class DefaultBookTest : public ::testing::Test {
protected:
    const std::string book = DefaultBook();

    // Offsets listed by the cross-reference section, objects 1 to 10.
    std::vector<std::size_t> XrefOffsets(std::size_t xref) const
    {
        std::vector<std::size_t> offsets;
        std::size_t line = xref + 6 + 6 + 20; // "xref\r\n", "0 11\r\n", object 0
        for (int object = 1; object <= 10; ++object, line += 20) {
            EXPECT_EQ(book.substr(line + 10, 10), " 00000 n\r\n");
            offsets.push_back(std::stoul(book.substr(line, 10)));
        }
        return offsets;
    }
};

TEST_F(DefaultBookTest, layoutAndCrossReferenceMatchTheBytes)
{
    EXPECT_EQ(book.substr(0, 20), std::string("%PPKLITE-2.1\r%\xE2\xE3\xCF\xD3\r\n", 20));
    const std::size_t xref = book.find("xref");
    ASSERT_NE(xref, std::string::npos);
    EXPECT_EQ(book.substr(xref, 32), "xref\r\n0 11\r\n0000000000 65535 f\r\n");
    const std::size_t trailer = xref + 32 + 10 * 20;
    const std::string end = "trailer\r\n<</Size 11/Root 1 0 R>>\r\nstartxref\r\n" + std::to_string(xref) + "\r\n%%EOF\r\n";
    EXPECT_EQ(book.substr(trailer), end);
    EXPECT_EQ(book.size(), trailer + end.size());

    const std::vector<std::size_t> offsets = XrefOffsets(xref);
    EXPECT_EQ(offsets.front(), 20u);
    for (int object = 1; object <= 10; ++object) {
        SCOPED_TRACE(object);
        const std::size_t at = offsets[object - 1];
        const std::size_t next = object < 10 ? offsets[object] : xref;
        EXPECT_EQ(book.substr(at, std::to_string(object).size() + 7), std::to_string(object) + " 0 obj\r");
        EXPECT_EQ(book.substr(next - 8, 8), "\rendobj\r");
    }
    EXPECT_EQ(offsets[1] - offsets[0], 186u);
    EXPECT_EQ(book.substr(28, offsets[1] - 28 - 8),
              "<</PPK<</AddressBook<</Entries[2 0 R 3 0 R 4 0 R 5 0 R 6 0 R 7 0 R 8 0 R 9 0 R 10 0 R]/NextID "
              "1010/Type/AddressBook>>/Type/PPK/User<</Type/User>>/V 65537>>/Type/Catalog>>");
}

TEST_F(DefaultBookTest, entriesHoldTheCertificatesInLiteralFormWithTheirSettings)
{
    struct Row {
        const char* cert;
        const char* settings;
        std::size_t lengthOfVerified; // 0 for certificates of our own or stand-ins
    };
    const Row rows[] = {
        {"adobe-root-ca.der", "/Editable true/ID 1001/Trust 106/Usage 1/Viewable true>>", 1314},
        {"adobe-product-services.der", "/Editable false/ID 1002/Trust 0/Usage 1/Viewable false>>", 1390},
        {"adobe-product-services-g2.der", "/Editable false/ID 1003/Trust 0/Usage 1/Viewable false>>", 1299},
        {"zjca.der", "/Editable true/ID 1004/Trust 96/Usage 1/Viewable true>>", 0},
        {"zjca-oca2.der", "/Editable true/ID 1005/Trust 96/Usage 1/Viewable true>>", 0},
        {"oscca-rootca.der", "/Editable true/ID 1006/Trust 96/Usage 1/Viewable true>>", 947},
        {"zjroot.der", "/Editable true/ID 1007/Trust 96/Usage 1/Viewable true>>", 777},
        {"pelorin-root-ca.der", "/Editable true/ID 1008/Trust 96/Usage 1/Viewable true>>", 0},
        {"pelorin-user-ca.der", "/Editable true/ID 1009/Trust 96/Usage 1/Viewable true>>", 0},
    };
    const std::size_t xref = book.find("xref");
    const std::vector<std::size_t> offsets = XrefOffsets(xref);
    for (int i = 0; i < 9; ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.cert);
        const int object = i + 2;
        const std::size_t at = offsets[object - 1];
        const std::size_t next = object < 10 ? offsets[object] : xref;
        if (row.lengthOfVerified) EXPECT_EQ(next - at, row.lengthOfVerified);
        const std::string head = std::to_string(object) + " 0 obj\r<</ABEType 1/Cert(";
        ASSERT_EQ(book.substr(at, head.size()), head);
        const std::string settings = row.settings;
        const std::size_t settingsAt = next - 8 - settings.size();
        EXPECT_EQ(book.substr(settingsAt, settings.size()), settings);
        const std::size_t literalAt = at + head.size() - 1;
        EXPECT_EQ(DecodeLiteral(book.substr(literalAt, settingsAt - literalAt)), TrustCert(row.cert));
    }
}

} // namespace
