#pragma once
// Reads the trust certificates and the resources the build made from them.
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string TrustCert(const std::string& name) { return ReadBytes(std::string(PELORIN_TRUST_CERT_DIR) + "/" + name); }
inline std::string TrustResource(const std::string& name)
{
    return ReadBytes(std::string(PELORIN_TRUST_RESOURCE_DIR) + "/" + name);
}
inline std::string EntryTemplateOf(int resource) { return TrustResource("entry" + std::to_string(resource) + ".acrodata"); }
inline std::string DefaultBook() { return TrustResource("addressbook.acrodata"); }

// Certificates of resources 201 to 206, in order.
inline const char* const kResourceCerts[] = {"zjca.der",    "zjca-oca2.der",       "oscca-rootca.der",
                                             "zjroot.der", "pelorin-root-ca.der", "pelorin-user-ca.der"};
