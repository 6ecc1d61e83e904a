#pragma once
// The soft token's PINs: each container's PIN kept in the registry (set by
// the installer), and the process-wide memory of PINs already presented,
// as a token's middleware caches them.
#include <string>

namespace softtoken {

void StorePin(const std::string& container, const std::string& pin);
void ForgetStoredPin(const std::string& container);
// True when pin is the container's PIN; a container without one accepts none.
bool PinMatches(const std::string& container, const char* pin);

bool PinKnown(const std::string& container);
void RememberPin(const std::string& container);

} // namespace softtoken
