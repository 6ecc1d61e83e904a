#pragma once
// Failures inside a unit travel as exceptions that carry an HRESULT and the
// name of the platform call that failed; each boundary catches them once.
#include <windows.h>

#include <stdexcept>
#include <string>

class HResultError : public std::runtime_error {
public:
    HResultError(HRESULT hr, const std::string& what) : std::runtime_error(what), hr_(hr) {}
    HRESULT hr() const noexcept { return hr_; }

private:
    HRESULT hr_;
};

// Throws HResultError with the thread's last error when ok is false.
inline void CheckWin32(bool ok, const char* call)
{
    if (!ok) {
        const DWORD err = GetLastError();
        throw HResultError(HRESULT_FROM_WIN32(err), std::string(call) + " failed with " + std::to_string(err));
    }
}

inline void CheckHr(HRESULT hr, const char* call)
{
    if (FAILED(hr)) throw HResultError(hr, std::string(call) + " failed with HRESULT " + std::to_string(static_cast<unsigned long>(hr)));
}
