#include "PinStore.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>
#include <set>

#include "Handles.h"
#include "SoftTokenProvider.h"

namespace softtoken {
namespace {

std::wstring KeyPath(const std::string& container)
{
    std::wstring path = std::wstring(kSoftTokenPinKey) + L"\\";
    for (unsigned char c : container) path += static_cast<wchar_t>(c);
    return path;
}

// Container names are matched without regard to case, as the registry does.
std::string Folded(const std::string& container)
{
    std::string folded = container;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return folded;
}

std::mutex gMutex;
std::set<std::string>& KnownPins()
{
    static std::set<std::string> known;
    return known;
}

} // namespace

void StorePin(const std::string& container, const std::string& pin)
{
    UniqueRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(container).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS ||
        RegSetValueExA(key.get(), "Pin", 0, REG_SZ, reinterpret_cast<const BYTE*>(pin.c_str()), static_cast<DWORD>(pin.size() + 1)) !=
            ERROR_SUCCESS) {
        throw std::runtime_error("cannot store the PIN");
    }
}

void ForgetStoredPin(const std::string& container) { RegDeleteKeyW(HKEY_CURRENT_USER, KeyPath(container).c_str()); }

bool PinMatches(const std::string& container, const char* pin)
{
    if (pin == nullptr) return false;
    UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(container).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
    char stored[256] = {};
    DWORD size = sizeof(stored) - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key.get(), "Pin", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size) != ERROR_SUCCESS || type != REG_SZ) {
        return false;
    }
    return std::strcmp(stored, pin) == 0;
}

bool PinKnown(const std::string& container)
{
    std::lock_guard<std::mutex> lock(gMutex);
    return KnownPins().count(Folded(container)) != 0;
}

void RememberPin(const std::string& container)
{
    std::lock_guard<std::mutex> lock(gMutex);
    KnownPins().insert(Folded(container));
}

} // namespace softtoken
