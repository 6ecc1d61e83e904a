#include "ExtractResourceToFile.h"

#include "Handles.h"

bool ExtractResourceToFile(HMODULE module, const char* path, const char* typeName, int number)
{
    UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) return false;
    // Our own resources: once the file exists the write is taken as done.
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), typeName)) {
        const HGLOBAL loaded = LoadResource(module, found);
        const DWORD size = SizeofResource(module, found);
        const void* bytes = loaded ? LockResource(loaded) : nullptr;
        DWORD written = 0;
        if (bytes && size) WriteFile(file.get(), bytes, size, &written, nullptr);
    }
    return true;
}
