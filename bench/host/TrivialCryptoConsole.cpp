// Starts and ends like TrivialConsole, but loads the system DLLs that the host
// loads (crypt32, user32), so that what is left is the host's own work.
#include <windows.h>
#include <wincrypt.h>

int main(int argc, char**)
{
    // Never true: the calls only make the loader bring the DLLs in.
    if (argc < 0) {
        CertCloseStore(nullptr, 0);
        GetDesktopWindow();
    }
    return 0;
}
