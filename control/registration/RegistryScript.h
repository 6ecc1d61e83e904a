#pragma once
// The registry scripts of the server (REGISTRY resources): text in the
// registrar's format, read into a tree of keys. Pure code, no Windows headers.
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {guid} = s 'Name'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Tokens are separated by white space; '...' quotes a token ('' is a quote).
// Values are s (text), d (32-bit number, decimal or 0x hex) or b (hex bytes).
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ScriptValue {
    enum class Type { String, Dword, Binary };
    Type type = Type::String;
    std::wstring text;
    std::uint32_t number = 0;
    std::vector<std::uint8_t> bytes;
};

struct NamedValue {
    std::wstring name;
    ScriptValue value;
};

// ForceRemove: delete the key with its subkeys before writing it, and all of
// it at unregistration. NoRemove: keep the key at unregistration.
// Delete: remove the key at registration and write nothing for it.
enum class KeyModifier { None, ForceRemove, NoRemove, Delete };

struct ScriptKey {
    std::wstring name;
    KeyModifier modifier = KeyModifier::None;
    std::optional<ScriptValue> defaultValue;
    std::vector<NamedValue> values;
    std::vector<ScriptKey> subkeys;
};

struct CaseInsensitiveLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};
using Replacements = std::map<std::wstring, std::wstring, CaseInsensitiveLess>;

// Replaces every %NAME% by its text (names compared without regard to case);
// %% stands for one percent sign. An unknown name throws ScriptError.
std::wstring ExpandReplacements(const std::wstring& text, const Replacements& replacements);

// Reads the root keys (HKCR, HKCU, HKLM, HKU and their long names) with their
// trees. Throws ScriptError on text that does not follow the format.
std::vector<ScriptKey> ParseRegistryScript(const std::wstring& text);
