// Build tool: writes the six entry templates (entry201.acrodata to
// entry206.acrodata) and the default address book (addressbook.acrodata) from
// the DER certificates, for the control's OLMOCERDATA resources.
//
// usage: make_trust_resources <out-folder> <adobe-root-ca> <product-services>
//        <product-services-g2> <cert-201> ... <cert-206>
#include "AddressBookFormat.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The default address book numbers its entries from this ID.
constexpr std::int32_t kFirstDefaultId = 1001;
constexpr int kFirstResource = 201;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 11) {
        std::cerr << "usage: make_trust_resources <out-folder> <adobe-root-ca> <product-services> "
                     "<product-services-g2> <cert-201> ... <cert-206>\n";
        return 2;
    }
    try {
        const std::string out = argv[1];
        std::vector<BookEntry> entries;
        // Adobe's own: the root is trusted for more; the two services
        // certificates are listed but neither trusted nor shown.
        entries.push_back({ReadFile(argv[2]), true, 106, true});
        entries.push_back({ReadFile(argv[3]), false, 0, false});
        entries.push_back({ReadFile(argv[4]), false, 0, false});
        for (int i = 0; i < 6; ++i) {
            const std::string der = ReadFile(argv[5 + i]);
            entries.push_back({der, true, 96, true});
            WriteFile(out + "/entry" + std::to_string(kFirstResource + i) + ".acrodata", EntryTemplate(der));
        }
        WriteFile(out + "/addressbook.acrodata", MakeAddressBook(entries, kFirstDefaultId).text);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "make_trust_resources: " << e.what() << "\n";
        return 1;
    }
}
