#pragma once
// Applies a parsed registry script to the registry, registering or removing
// what it describes, with the registrar's meaning of the key modifiers.
#include <windows.h>

#include <vector>

#include "RegistryScript.h"

enum class ScriptMode { Register, Unregister };

// Keys under HKCR go below classesRoot: HKEY_CLASSES_ROOT per machine, or the
// user's Software\Classes key per user. Throws HResultError on a failed write.
void RunRegistryScript(const std::vector<ScriptKey>& roots, ScriptMode mode, HKEY classesRoot);
