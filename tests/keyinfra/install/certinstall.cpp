// certinstall: the test certificate installer's program (see README.md).
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "CertInstaller.h"

int main()
{
    // Wide arguments: the narrow ones would lose names outside the code page.
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i) args.emplace_back(argv[i]);
    LocalFree(argv);
    // Lines end in LF only, so shell scripts can read them unchanged.
    _setmode(_fileno(stdout), _O_BINARY);
    return RunCertInstaller(args, std::cout, std::cerr);
}
