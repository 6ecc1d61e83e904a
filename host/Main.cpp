// Pelorin.exe: the native-messaging host. The browser owns both standard
// streams; they carry raw frames, so both are switched to binary mode.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>

#include "MessageLoop.h"
#include "OlmoSignPlatform.h"

int main()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        OlmoSignPlatform platform;
        RunHost(std::cin, std::cout, platform, [] { Sleep(100); });
        std::cout.flush();
        return 0;
    } catch (...) {
        // Nothing may reach the browser but frames; without a response the
        // browser sees the host end.
        return 1;
    }
}
