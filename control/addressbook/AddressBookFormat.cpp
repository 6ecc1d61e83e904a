#include "AddressBookFormat.h"

namespace {

const char kCR = '\r';
const std::string_view kCRLF = "\r\n";

// Readers drop a backslash before an end of line; Acrobat writes one after
// this many bytes of string text.
constexpr std::size_t kLiteralLineLength = 255;

std::string_view Escape(unsigned char byte, char& single)
{
    switch (byte) {
    case '\r': return "\\r";
    case '\n': return "\\n";
    case '(': return "\\(";
    case ')': return "\\)";
    case '\\': return "\\\\";
    default:
        single = static_cast<char>(byte);
        return {&single, 1};
    }
}

std::string Pad10(std::size_t value)
{
    std::string digits = std::to_string(value);
    return std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
}

std::string Boolean(bool value) { return value ? "true" : "false"; }

std::string Object(std::int32_t number, const std::string& dictionary)
{
    return std::to_string(number) + " 0 obj" + kCR + dictionary + kCR + "endobj" + kCR;
}

} // namespace

std::string CertHexString(std::string_view der)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(der.size() * 2 + 2);
    out += '<';
    for (unsigned char byte : der) {
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    out += '>';
    return out;
}

std::string CertLiteralString(std::string_view der)
{
    std::string out;
    out.reserve(der.size() * 2 + 2);
    out += '(';
    std::size_t lineLength = 0;
    for (unsigned char byte : der) {
        char single = 0;
        const std::string_view piece = Escape(byte, single);
        out += piece;
        lineLength += piece.size();
        if (lineLength >= kLiteralLineLength) {
            out += '\\';
            out += kCR;
            lineLength = 0;
        }
    }
    out += ')';
    return out;
}

std::string EntryTemplate(std::string_view der)
{
    return std::string(1, kCR) + "%d 0 obj\r<</ABEType 1/Cert" + CertHexString(der) +
           "/Editable true/ID %d/Trust 96/Usage 1/Viewable true>>\rendobj\r";
}

BookLayout MakeAddressBook(const std::vector<BookEntry>& entries, std::int32_t firstId)
{
    BookLayout book;
    std::string& text = book.text;
    text = "%PPKLITE-2.1";
    text += kCR;
    text += "%\xE2\xE3\xCF\xD3";
    text += kCRLF;

    const std::int32_t lastObject = static_cast<std::int32_t>(entries.size()) + 1;
    std::string references;
    for (std::int32_t number = 2; number <= lastObject; ++number) {
        if (!references.empty()) references += ' ';
        references += std::to_string(number) + " 0 R";
    }
    const std::int32_t nextId = firstId + static_cast<std::int32_t>(entries.size());
    book.objectOffsets.push_back(text.size());
    text += Object(1, "<</PPK<</AddressBook<</Entries[" + references + "]/NextID " + std::to_string(nextId) +
                          "/Type/AddressBook>>/Type/PPK/User<</Type/User>>/V 65537>>/Type/Catalog>>");

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const BookEntry& entry = entries[i];
        book.objectOffsets.push_back(text.size());
        text += Object(static_cast<std::int32_t>(i) + 2,
                       "<</ABEType 1/Cert" + CertLiteralString(entry.der) + "/Editable " + Boolean(entry.editable) +
                           "/ID " + std::to_string(firstId + static_cast<std::int32_t>(i)) + "/Trust " +
                           std::to_string(entry.trust) + "/Usage 1/Viewable " + Boolean(entry.viewable) + ">>");
    }

    book.xrefOffset = text.size();
    const std::string count = std::to_string(lastObject + 1);
    text += "xref";
    text += kCRLF;
    text += "0 " + count;
    text += kCRLF;
    text += "0000000000 65535 f";
    text += kCRLF;
    for (std::size_t offset : book.objectOffsets) {
        text += Pad10(offset) + " 00000 n";
        text += kCRLF;
    }
    text += "trailer";
    text += kCRLF;
    text += "<</Size " + count + "/Root 1 0 R>>";
    text += kCRLF;
    text += "startxref";
    text += kCRLF;
    text += std::to_string(book.xrefOffset);
    text += kCRLF;
    text += "%%EOF";
    text += kCRLF;
    return book;
}
