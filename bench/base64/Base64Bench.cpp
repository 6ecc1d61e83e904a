// Encode and decode throughput of our Base64 codec beside OpenSSL's
// EVP_EncodeBlock/EVP_DecodeBlock and memcpy (the physical limit), in MB/s.
#include <openssl/evp.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Base64.h"

namespace {

volatile std::size_t g_sink;

// Best of five rounds, each repeating the work for at least 100 ms.
double MegabytesPerSecond(std::size_t bytes, const std::function<std::size_t()>& work)
{
    using Clock = std::chrono::steady_clock;
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        std::size_t reps = 0;
        const auto start = Clock::now();
        std::chrono::duration<double> elapsed{};
        do {
            g_sink = g_sink + work();
            ++reps;
            elapsed = Clock::now() - start;
        } while (elapsed.count() < 0.1);
        best = std::max(best, static_cast<double>(bytes) * reps / elapsed.count() / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    std::printf("Base64 throughput, MB/s of binary data (higher is better)\n\n");
    std::printf("%-8s %-7s %12s %12s %12s %8s\n", "size", "op", "ours", "openssl", "memcpy", "ours/ssl");
    std::mt19937 random(42);
    for (std::size_t size : {std::size_t{1024}, std::size_t{64 * 1024}, std::size_t{16 * 1024 * 1024}}) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        const std::string text = Base64Encode(bytes);
        std::vector<unsigned char> out(text.size() + 4);
        std::vector<unsigned char> copy(text.size());

        const double ourEncode = MegabytesPerSecond(size, [&] { return Base64Encode(bytes).size(); });
        const double sslEncode = MegabytesPerSecond(size, [&] {
            return static_cast<std::size_t>(EVP_EncodeBlock(
                out.data(), reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(size)));
        });
        const double copyEncode = MegabytesPerSecond(size, [&] {
            std::memcpy(copy.data(), bytes.data(), size);
            return static_cast<std::size_t>(copy[size / 2]);
        });
        const double ourDecode = MegabytesPerSecond(size, [&] { return Base64Decode(text).size(); });
        const double sslDecode = MegabytesPerSecond(size, [&] {
            return static_cast<std::size_t>(EVP_DecodeBlock(
                out.data(), reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())));
        });
        const double copyDecode = MegabytesPerSecond(size, [&] {
            std::memcpy(copy.data(), text.data(), text.size());
            return static_cast<std::size_t>(copy[size / 2]);
        });

        const std::string label = size >= 1024 * 1024 ? std::to_string(size >> 20) + " MiB" : std::to_string(size >> 10) + " KiB";
        std::printf("%-8s %-7s %12.0f %12.0f %12.0f %8.2f\n", label.c_str(), "encode", ourEncode, sslEncode, copyEncode, ourEncode / sslEncode);
        std::printf("%-8s %-7s %12.0f %12.0f %12.0f %8.2f\n", label.c_str(), "decode", ourDecode, sslDecode, copyDecode, ourDecode / sslDecode);
    }
    return 0;
}
