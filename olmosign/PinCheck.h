#pragma once
#include <windows.h>
#include <wincrypt.h>

#include <string>

// Hands the PIN to the certificate's key provider silently (no prompt) and
// reports whether the provider accepted it.
bool CheckKeyPin(PCCERT_CONTEXT cert, const std::string& pin);
