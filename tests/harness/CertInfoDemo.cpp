// Prints every field of a DER or Base64 certificate file by info-type code.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "Base64.h"
#include "CertInfo.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: certinfo_demo <certificate.der | certificate.b64>\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string text = !bytes.empty() && bytes[0] == 0x30 ? Base64Encode(bytes) : bytes;
    static const int codes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 32, 33, 34};
    for (int code : codes) std::printf("%2d  %s\n", code, QueryCertInfo(text, code).c_str());
    return 0;
}
