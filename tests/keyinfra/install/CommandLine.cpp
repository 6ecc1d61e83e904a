// certinstall's command line: parses arguments into a CertSpec or one of the
// store commands and prints what was made as key=value lines.
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "Base64.h"
#include "CertInstaller.h"
#include "Handles.h"
#include "Names.h"
#include "SoftTokenProvider.h"
#include "TextCodec.h"
#include "WinError.h"

namespace {

class UsageError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

const char kUsage[] =
    "usage: certinstall add [--subject X500] [--issuer X500] [--ca X500] [--serial HEX]\n"
    "                       [--key-usage LIST|none] [--not-before TIME] [--not-after TIME]\n"
    "                       [--key-bits N] [--key-spec signature|exchange] [--provider NAME|default|softtoken]\n"
    "                       [--container NAME] [--pin PIN] [--prov-info-flags N] [--no-key] [--store NAME]\n"
    "       certinstall add-file FILE.der [--store NAME]\n"
    "       certinstall clear [--store NAME] [--keep-keys]\n"
    "       certinstall list [--store NAME]\n"
    "       certinstall register-provider [DLL]\n"
    "       certinstall unregister-provider\n"
    "Any argument @FILE stands for the lines of FILE (UTF-8, one argument a line).\n";

std::vector<std::wstring> ExpandResponseFiles(const std::vector<std::wstring>& args)
{
    std::vector<std::wstring> expanded;
    for (const std::wstring& arg : args) {
        if (arg.size() < 2 || arg[0] != L'@') {
            expanded.push_back(arg);
            continue;
        }
        std::ifstream in(arg.substr(1).c_str(), std::ios::binary);
        if (!in) throw UsageError("cannot read " + ToUtf8(arg.substr(1)));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
            if (line.empty() || line[0] == '#') continue;
            expanded.push_back(FromUtf8(line));
        }
    }
    return expanded;
}

struct KeyUsageName {
    const wchar_t* name;
    BYTE bit;
};
constexpr KeyUsageName kKeyUsages[] = {
    {L"digitalSignature", CERT_DIGITAL_SIGNATURE_KEY_USAGE}, {L"nonRepudiation", CERT_NON_REPUDIATION_KEY_USAGE},
    {L"keyEncipherment", CERT_KEY_ENCIPHERMENT_KEY_USAGE},   {L"dataEncipherment", CERT_DATA_ENCIPHERMENT_KEY_USAGE},
    {L"keyAgreement", CERT_KEY_AGREEMENT_KEY_USAGE},         {L"keyCertSign", CERT_KEY_CERT_SIGN_KEY_USAGE},
    {L"cRLSign", CERT_CRL_SIGN_KEY_USAGE},
};

std::optional<BYTE> ParseKeyUsage(const std::wstring& list)
{
    if (list == L"none") return std::nullopt;
    BYTE bits = 0;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(L',', start), list.size());
        const std::wstring name = list.substr(start, end - start);
        bool known = false;
        for (const KeyUsageName& usage : kKeyUsages) {
            if (name == usage.name) {
                bits |= usage.bit;
                known = true;
            }
        }
        if (!known) throw UsageError("unknown key usage " + ToUtf8(name));
        start = end + 1;
    }
    return bits;
}

FILETIME ParseTime(const std::wstring& text)
{
    SYSTEMTIME parts{};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    wchar_t rest = 0;
    const int fields = swscanf(text.c_str(), L"%4d-%2d-%2dT%2d:%2d:%2d%lc", &year, &month, &day, &hour, &minute, &second, &rest);
    if (!(fields == 3 && text.size() == 10) && fields != 6) throw UsageError("time must be YYYY-MM-DD or YYYY-MM-DDThh:mm:ss: " + ToUtf8(text));
    parts.wYear = static_cast<WORD>(year);
    parts.wMonth = static_cast<WORD>(month);
    parts.wDay = static_cast<WORD>(day);
    parts.wHour = static_cast<WORD>(hour);
    parts.wMinute = static_cast<WORD>(minute);
    parts.wSecond = static_cast<WORD>(second);
    FILETIME time{};
    if (!SystemTimeToFileTime(&parts, &time)) throw UsageError("not a valid time: " + ToUtf8(text));
    return time;
}

DWORD ParseNumber(const std::wstring& text)
{
    wchar_t* end = nullptr;
    const unsigned long value = wcstoul(text.c_str(), &end, 0);
    if (text.empty() || *end != L'\0') throw UsageError("not a number: " + ToUtf8(text));
    return static_cast<DWORD>(value);
}

// Walks "--name value" pairs and flags.
class Options {
public:
    Options(const std::vector<std::wstring>& args, size_t first) : args_(args), next_(first) {}
    bool Next(std::wstring& name)
    {
        if (next_ >= args_.size()) return false;
        name = args_[next_++];
        return true;
    }
    const std::wstring& Value(const std::wstring& name)
    {
        if (next_ >= args_.size()) throw UsageError(ToUtf8(name) + " needs a value");
        return args_[next_++];
    }

private:
    const std::vector<std::wstring>& args_;
    size_t next_;
};

CertSpec ParseAdd(const std::vector<std::wstring>& args)
{
    CertSpec spec;
    Options options(args, 1);
    std::wstring name;
    while (options.Next(name)) {
        if (name == L"--subject") spec.subject = options.Value(name);
        else if (name == L"--issuer") spec.issuer = options.Value(name);
        else if (name == L"--ca") spec.caName = options.Value(name);
        else if (name == L"--serial") {
            try {
                spec.serial = ParseHex(options.Value(name));
            } catch (const std::invalid_argument& e) {
                throw UsageError(e.what());
            }
        }
        else if (name == L"--key-usage") spec.keyUsage = ParseKeyUsage(options.Value(name));
        else if (name == L"--not-before") spec.notBefore = ParseTime(options.Value(name));
        else if (name == L"--not-after") spec.notAfter = ParseTime(options.Value(name));
        else if (name == L"--key-bits") spec.keyBits = ParseNumber(options.Value(name));
        else if (name == L"--key-spec") {
            const std::wstring& value = options.Value(name);
            if (value == L"signature") spec.keySpec = AT_SIGNATURE;
            else if (value == L"exchange") spec.keySpec = AT_KEYEXCHANGE;
            else throw UsageError("--key-spec is signature or exchange");
        }
        else if (name == L"--provider") {
            const std::wstring& value = options.Value(name);
            spec.provider = value == L"default" ? L"" : value == L"softtoken" ? KEYINFRA_SOFTTOKEN_PROV_W : value;
        }
        else if (name == L"--container") spec.container = options.Value(name);
        else if (name == L"--pin") spec.pin = ToUtf8(options.Value(name));
        else if (name == L"--prov-info-flags") spec.provInfoFlags = ParseNumber(options.Value(name));
        else if (name == L"--no-key") spec.withKey = false;
        else if (name == L"--store") spec.store = options.Value(name);
        else throw UsageError("unknown option " + ToUtf8(name));
    }
    if (spec.caName && spec.issuer) throw UsageError("--ca and --issuer exclude each other");
    return spec;
}

// The options of the store commands: --store and, for clear, --keep-keys.
std::wstring ParseStoreOptions(const std::vector<std::wstring>& args, size_t first, bool* keepKeys)
{
    std::wstring store = L"MY";
    Options options(args, first);
    std::wstring name;
    while (options.Next(name)) {
        if (name == L"--store") store = options.Value(name);
        else if (keepKeys && name == L"--keep-keys") *keepKeys = true;
        else throw UsageError("unknown option " + ToUtf8(name));
    }
    return store;
}

std::string Base64Of(const std::vector<BYTE>& der) { return Base64Encode(std::string(der.begin(), der.end())); }

UniqueCertContext Decode(const std::vector<BYTE>& der)
{
    UniqueCertContext cert(CertCreateCertificateContext(X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, der.data(), static_cast<DWORD>(der.size())));
    CheckWin32(static_cast<bool>(cert), "CertCreateCertificateContext");
    return cert;
}

void PrintInstalled(const InstalledCert& installed, std::ostream& out)
{
    const std::string na = "-";
    UniqueCertContext cert = Decode(installed.der);
    const CERT_INFO* info = cert.get()->pCertInfo;
    BYTE hash[20];
    DWORD hashSize = sizeof(hash);
    const bool hashed = CertGetCertificateContextProperty(cert.get(), CERT_SHA1_HASH_PROP_ID, hash, &hashSize);
    out << "serial=" << SerialText(info->SerialNumber) << '\n'
        << "thumbprint=" << (hashed ? HexText(hash, hashSize) : na) << '\n'
        << "subject=" << ToUtf8(NameText(info->Subject)) << '\n'
        << "issuer=" << ToUtf8(NameText(info->Issuer)) << '\n'
        << "provider=" << (installed.provider.empty() ? na : ToUtf8(installed.provider)) << '\n'
        << "container=" << (installed.container.empty() ? na : ToUtf8(installed.container)) << '\n'
        << "cert=" << Base64Of(installed.der) << '\n';
    if (!installed.caDer.empty()) {
        UniqueCertContext ca = Decode(installed.caDer);
        out << "ca.serial=" << SerialText(ca.get()->pCertInfo->SerialNumber) << '\n' << "ca.cert=" << Base64Of(installed.caDer) << '\n';
    }
}

std::vector<BYTE> ReadFile(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) throw UsageError("cannot read " + ToUtf8(path));
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Run(const std::vector<std::wstring>& args, std::ostream& out)
{
    if (args.empty()) throw UsageError("no command");
    const std::wstring& command = args[0];
    if (command == L"add") {
        PrintInstalled(InstallCertificate(ParseAdd(args)), out);
    } else if (command == L"add-file") {
        if (args.size() < 2) throw UsageError("add-file needs a file");
        AddEncodedCertificate(ReadFile(args[1]), ParseStoreOptions(args, 2, nullptr));
    } else if (command == L"clear") {
        bool keepKeys = false;
        const std::wstring store = ParseStoreOptions(args, 1, &keepKeys);
        ClearStore(store, !keepKeys);
    } else if (command == L"list") {
        for (const StoreEntry& entry : ListStore(ParseStoreOptions(args, 1, nullptr))) {
            out << entry.serial << '\t' << (entry.container.empty() ? "-" : ToUtf8(entry.container)) << '\t' << ToUtf8(entry.subject) << '\n';
        }
    } else if (command == L"register-provider") {
        if (args.size() > 2) throw UsageError("register-provider takes at most a DLL path");
        RegisterSoftTokenProvider(args.size() == 2 ? args[1] : SoftTokenDllBesideProgram());
    } else if (command == L"unregister-provider") {
        UnregisterSoftTokenProvider();
    } else {
        throw UsageError("unknown command " + ToUtf8(command));
    }
    return 0;
}

} // namespace

int RunCertInstaller(const std::vector<std::wstring>& args, std::ostream& out, std::ostream& err)
{
    try {
        return Run(ExpandResponseFiles(args), out);
    } catch (const std::invalid_argument& e) {
        err << "certinstall: " << e.what() << '\n' << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << "certinstall: " << e.what() << '\n';
        return 1;
    }
}
