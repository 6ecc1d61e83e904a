#include "Base64.h"

#include <array>
#include <cstring>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint32_t kStop = 0xFFFFFFFFu;

// Four decode tables, one per position in a group, each holding the 6-bit
// value already shifted into its place in the 24-bit group, so a whole group
// is the OR of four lookups. kStop marks every character that ends decoding.
struct DecodeTables {
    std::array<std::uint32_t, 256> at[4];
};

constexpr DecodeTables MakeDecodeTables()
{
    DecodeTables t{};
    for (int pos = 0; pos < 4; ++pos)
        for (auto& v : t.at[pos]) v = kStop;
    for (std::uint32_t i = 0; i < 64; ++i) {
        const auto c = static_cast<unsigned char>(kAlphabet[i]);
        t.at[0][c] = i << 18;
        t.at[1][c] = i << 12;
        t.at[2][c] = i << 6;
        t.at[3][c] = i;
    }
    return t;
}

constexpr DecodeTables kDecode = MakeDecodeTables();

// Two output characters per lookup: 4096 pairs covering every 12-bit value.
struct PairTable {
    std::array<char, 2 * 4096> chars;
};

constexpr PairTable MakePairTable()
{
    PairTable t{};
    for (int v = 0; v < 4096; ++v) {
        t.chars[2 * v] = kAlphabet[v >> 6];
        t.chars[2 * v + 1] = kAlphabet[v & 0x3F];
    }
    return t;
}

constexpr PairTable kPairs = MakePairTable();

// The machine is little-endian on every target we build for.
inline std::uint64_t ToBigEndian(std::uint64_t v) { return __builtin_bswap64(v); }

} // namespace

const std::string Base64Alphabet(kAlphabet, 64);

std::string Base64Encode(const unsigned char* bytes, std::uint32_t length)
{
    const std::size_t groups = length / 3;
    const std::size_t rest = length % 3;
    std::string out(4 * (groups + (rest ? 1 : 0)), '\0');
    char* o = out.data();
    const unsigned char* p = bytes;
    std::size_t g = 0;
    // Two groups per step from one 8-byte load: four 12-bit indices, each
    // giving two characters from the pair table.
    for (; g + 2 < groups; g += 2, p += 6, o += 8) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        v = ToBigEndian(v);
        std::memcpy(o, &kPairs.chars[2 * ((v >> 52) & 0xFFF)], 2);
        std::memcpy(o + 2, &kPairs.chars[2 * ((v >> 40) & 0xFFF)], 2);
        std::memcpy(o + 4, &kPairs.chars[2 * ((v >> 28) & 0xFFF)], 2);
        std::memcpy(o + 6, &kPairs.chars[2 * ((v >> 16) & 0xFFF)], 2);
    }
    for (; g < groups; ++g, p += 3, o += 4) {
        const std::uint32_t v = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
        std::memcpy(o, &kPairs.chars[2 * (v >> 12)], 2);
        std::memcpy(o + 2, &kPairs.chars[2 * (v & 0xFFF)], 2);
    }
    if (rest) {
        const std::uint32_t b0 = p[0];
        const std::uint32_t b1 = rest == 2 ? p[1] : 0;
        o[0] = kAlphabet[b0 >> 2];
        o[1] = kAlphabet[((b0 & 0x03) << 4) | (b1 >> 4)];
        o[2] = rest == 2 ? kAlphabet[(b1 & 0x0F) << 2] : '=';
        o[3] = '=';
    }
    return out;
}

std::string Base64Decode(const std::string& text)
{
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::string out(n / 4 * 3 + 3, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    std::size_t i = 0;
    std::size_t produced = 0;

    // Whole groups: any stop character turns the OR into kStop's high bits.
    for (; i + 4 <= n; i += 4) {
        const std::uint32_t v = kDecode.at[0][in[i]] | kDecode.at[1][in[i + 1]] |
                                kDecode.at[2][in[i + 2]] | kDecode.at[3][in[i + 3]];
        if (v & 0xFF000000u) break;
        o[produced++] = static_cast<unsigned char>(v >> 16);
        o[produced++] = static_cast<unsigned char>(v >> 8);
        o[produced++] = static_cast<unsigned char>(v);
    }

    // The last, unfinished or stopping group: k accepted characters give k-1 bytes.
    std::uint32_t v = 0;
    int k = 0;
    for (; i < n && k < 4; ++i, ++k) {
        const std::uint32_t c = kDecode.at[k][in[i]];
        if (c == kStop) break;
        v |= c;
    }
    if (k >= 2) o[produced++] = static_cast<unsigned char>(v >> 16);
    if (k >= 3) o[produced++] = static_cast<unsigned char>(v >> 8);
    out.resize(produced);
    return out;
}
