#pragma once
// Writes certificates in the byte layout of Acrobat's address book: the two
// /Cert string forms, entry templates, and a whole address book with its
// cross-reference section. The build uses it to make the trust resources.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "<" upper-case hex digits ">".
std::string CertHexString(std::string_view der);

// "(" DER bytes with CR, LF, parentheses and backslash escaped ")", with a
// line continuation (backslash, CR) after every 255 bytes of string text,
// moved after an escape pair that the 255th byte starts.
std::string CertLiteralString(std::string_view der);

// One entry object with "%d" for the object number and "%d" for the ID:
// CR, number line, dictionary line (hex /Cert), "endobj", CR.
std::string EntryTemplate(std::string_view der);

struct BookEntry {
    std::string der;
    bool editable = true;
    std::int32_t trust = 96;
    bool viewable = true;
};

struct BookLayout {
    std::string text;
    // Offsets of objects 1 (the catalog) to n, in order.
    std::vector<std::size_t> objectOffsets;
    std::size_t xrefOffset = 0;
};

// A complete address book: catalog, one literal-form entry object per
// certificate (objects 2.., IDs firstId..), cross-reference section, trailer.
BookLayout MakeAddressBook(const std::vector<BookEntry>& entries, std::int32_t firstId);
