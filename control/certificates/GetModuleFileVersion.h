#pragma once
// The file version that a module carries in the version resource of its file
// on disk, read afresh at every call.
#include <windows.h>

#include <string>

struct FileVersionText {
    HRESULT hr;        // S_FALSE when the path or the version size cannot be had
    std::wstring text; // FileVersion of every translation, in table order, run together
};

// A translation whose string table has no FileVersion adds nothing.
FileVersionText GetModuleFileVersion(HMODULE module);

// The module (DLL or program) that this code is linked into.
HMODULE ModuleOfThisCode();
