#pragma once
#include <windows.h>

// Writes resource `number` of type `typeName` from `module` to a new file at
// `path` (an existing one is overwritten), created without sharing and marked
// temporary. Answers false only when the file cannot be created.
bool ExtractResourceToFile(HMODULE module, const char* path, const char* typeName, int number);

// The resource type of the trust templates and the default address book,
// as looked up (Windows matches type names without regard to case).
constexpr const char* kTrustResourceType = "olmocerdata";
constexpr int kDefaultAddressBookResource = 207;
