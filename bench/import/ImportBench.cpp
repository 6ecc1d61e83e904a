// ImportTrustCert(0) on address books of 10 KB, 1 MB and 50 MB, beside the
// time to move the same bytes with plain copies: per certificate the import
// copies the book twice (duplicate check, rewrite), reads the backup twice and
// writes the new book once, so the baseline does the same with CopyFileA and
// 2048-byte block reads and writes. Also prints the peak working set, which
// must not grow with the address book.
#include "AddressBookFormat.h"
#include "TrustImport.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes an address book of at least `target` bytes, one entry at a time, so
// that making it costs no memory: catalog, entries cycling through the
// certificates, cross-reference section and trailer.
void WritePaddedBook(const std::string& path, std::size_t target, const std::vector<std::string>& literals)
{
    std::size_t entryBytes = 0;
    for (const auto& literal : literals) entryBytes += literal.size() + 90;
    const std::size_t count = std::max<std::size_t>(1, target * literals.size() / entryBytes);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    auto put = [&](const std::string& text) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        at += text.size();
    };
    put(std::string("%PPKLITE-2.1\r%\xE2\xE3\xCF\xD3\r\n"));
    offsets.push_back(at);
    put("1 0 obj\r<</PPK<</AddressBook<</Entries[");
    for (std::size_t i = 0; i < count; ++i) put((i ? " " : "") + std::to_string(i + 2) + " 0 R");
    put("]/NextID " + std::to_string(1001 + count) +
        "/Type/AddressBook>>/Type/PPK/User<</Type/User>>/V 65537>>/Type/Catalog>>\rendobj\r");
    for (std::size_t i = 0; i < count; ++i) {
        offsets.push_back(at);
        put(std::to_string(i + 2) + " 0 obj\r<</ABEType 1/Cert" + literals[i % literals.size()] + "/Editable true/ID " +
            std::to_string(1001 + i) + "/Trust 96/Usage 1/Viewable true>>\rendobj\r");
    }
    const std::size_t xref = at;
    put("xref\r\n0 " + std::to_string(count + 2) + "\r\n0000000000 65535 f\r\n");
    for (std::size_t offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n\r\n", offset);
        put(line);
    }
    put("trailer\r\n<</Size " + std::to_string(count + 2) + "/Root 1 0 R>>\r\nstartxref\r\n" + std::to_string(xref) +
        "\r\n%%EOF\r\n");
}

void StreamCopy(const std::string& from, const std::string& to, bool write)
{
    HANDLE in = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE out = write ? CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr) : nullptr;
    char block[2048];
    DWORD read = 0, written = 0;
    while (ReadFile(in, block, sizeof block, &read, nullptr) && read) {
        if (write) WriteFile(out, block, read, &written, nullptr);
    }
    CloseHandle(in);
    if (write) CloseHandle(out);
}

void CopyBaseline(const std::string& book, const std::string& folder)
{
    const std::string backup = folder + "baseline.copy";
    for (int certificate = 0; certificate < 6; ++certificate) {
        CopyFileA(book.c_str(), backup.c_str(), FALSE); // duplicate check: copy, read
        StreamCopy(backup, "", false);
        CopyFileA(book.c_str(), backup.c_str(), FALSE); // rewrite: copy, read and write
        StreamCopy(backup, folder + "baseline.out", true);
    }
    DeleteFileA(backup.c_str());
    DeleteFileA((folder + "baseline.out").c_str());
}

double PeakWorkingSetMb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1048576.0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_import <folder with the certificate DER files>\n");
        return 2;
    }
    const std::string certs = argv[1];
    std::vector<std::string> literals;
    for (const char* name : {"adobe-root-ca.der", "adobe-product-services.der", "adobe-product-services-g2.der",
                             "zjca.der", "zjca-oca2.der", "oscca-rootca.der", "zjroot.der", "pelorin-root-ca.der",
                             "pelorin-user-ca.der"})
        literals.push_back(CertLiteralString(ReadFileBytes(certs + "/" + name)));

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "bench-import-" + std::to_string(GetCurrentProcessId()) + "\\";
    const std::string appData = root + "AppData";
    const std::string folder = appData + "\\Adobe\\Acrobat\\11.0\\Security\\";
    for (const std::string& dir : {root, appData, appData + "\\Adobe", appData + "\\Adobe\\Acrobat",
                                   appData + "\\Adobe\\Acrobat\\11.0", folder})
        CreateDirectoryA(dir.c_str(), nullptr);
    SetEnvironmentVariableA("APPDATA", appData.c_str());
    SetCurrentDirectoryA(root.c_str());
    const std::string book = folder + "addressbook.acrodata";
    const std::string pristine = root + "pristine.acrodata";

    std::printf("%-8s %12s %6s %14s %14s %7s %16s\n", "book", "bytes", "runs", "import ms", "copies ms", "ratio",
                "peak WS MB");
    struct Size {
        const char* name;
        std::size_t bytes;
        int runs;
    };
    for (const Size& size : {Size{"10 KB", 10 * 1024, 30}, Size{"1 MB", 1024 * 1024, 5}, Size{"50 MB", 50u << 20, 1}}) {
        WritePaddedBook(pristine, size.bytes, literals);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(pristine.c_str(), GetFileExInfoStandard, &data);

        double importBest = 1e300, copyBest = 1e300;
        for (int run = 0; run < size.runs; ++run) {
            CopyFileA(pristine.c_str(), book.c_str(), FALSE);
            auto start = Clock::now();
            CopyBaseline(book, folder);
            copyBest = std::min(copyBest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());

            start = Clock::now();
            const std::int32_t result = ImportTrustCert(GetModuleHandleA(nullptr), 0);
            importBest = std::min(importBest, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            if (result != 0) std::fprintf(stderr, "import answered %d\n", static_cast<int>(result));
        }
        std::printf("%-8s %12lu %6d %14.2f %14.2f %7.2f %16.1f\n", size.name, data.nFileSizeLow, size.runs, importBest,
                    copyBest, importBest / copyBest, PeakWorkingSetMb());
        std::fflush(stdout);
    }
    DeleteFileA(book.c_str());
    DeleteFileA(pristine.c_str());
    for (const std::string& dir : {folder, appData + "\\Adobe\\Acrobat\\11.0\\", appData + "\\Adobe\\Acrobat\\",
                                   appData + "\\Adobe\\", appData + "\\", root})
        RemoveDirectoryA(dir.c_str());
    return 0;
}
