#include "RegistryScript.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Upper(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

bool SameText(const std::wstring& a, const wchar_t* b) { return Upper(a) == Upper(b); }

std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    return out;
}

struct Token {
    std::wstring text;
    bool quoted = false;
    bool Is(const wchar_t* word) const { return !quoted && SameText(text, word); }
};

class Tokens {
public:
    explicit Tokens(const std::wstring& text)
    {
        size_t i = 0;
        while (true) {
            while (i < text.size() && std::iswspace(text[i])) ++i;
            if (i == text.size()) break;
            Token token;
            if (text[i] == L'\'') {
                token.quoted = true;
                for (++i;; ++i) {
                    if (i == text.size()) throw ScriptError("unterminated quoted text");
                    if (text[i] == L'\'') {
                        if (i + 1 < text.size() && text[i + 1] == L'\'') {
                            token.text += L'\'';
                            ++i;
                        } else {
                            ++i;
                            break;
                        }
                    } else {
                        token.text += text[i];
                    }
                }
            } else {
                while (i < text.size() && !std::iswspace(text[i])) token.text += text[i++];
            }
            tokens_.push_back(std::move(token));
        }
    }

    bool AtEnd() const { return next_ == tokens_.size(); }
    const Token& Peek() const
    {
        if (AtEnd()) throw ScriptError("unexpected end of script");
        return tokens_[next_];
    }
    Token Take()
    {
        Token token = Peek();
        ++next_;
        return token;
    }
    void Expect(const wchar_t* word)
    {
        const Token token = Take();
        if (!token.Is(word)) throw ScriptError("expected '" + Narrow(word) + "', found '" + Narrow(token.text) + "'");
    }

private:
    std::vector<Token> tokens_;
    size_t next_ = 0;
};

std::uint32_t ParseNumber(const std::wstring& text)
{
    if (text.empty()) throw ScriptError("empty number");
    const bool hex = text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X');
    std::uint64_t value = 0;
    for (size_t i = hex ? 2 : 0; i < text.size(); ++i) {
        const wchar_t c = static_cast<wchar_t>(std::towlower(text[i]));
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (hex && c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else
            throw ScriptError("bad number '" + Narrow(text) + "'");
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0xFFFFFFFFu) throw ScriptError("number out of range '" + Narrow(text) + "'");
    }
    return static_cast<std::uint32_t>(value);
}

std::vector<std::uint8_t> ParseBytes(const std::wstring& text)
{
    if (text.size() % 2 != 0) throw ScriptError("odd number of hex digits");
    std::vector<std::uint8_t> bytes;
    for (size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(ParseNumber(L"0x" + text.substr(i, 2))));
    return bytes;
}

ScriptValue ParseValue(Tokens& tokens)
{
    const Token type = tokens.Take();
    const Token data = tokens.Take();
    ScriptValue value;
    if (type.Is(L"s")) {
        value.type = ScriptValue::Type::String;
        value.text = data.text;
    } else if (type.Is(L"d")) {
        value.type = ScriptValue::Type::Dword;
        value.number = ParseNumber(data.text);
    } else if (type.Is(L"b")) {
        value.type = ScriptValue::Type::Binary;
        value.bytes = ParseBytes(data.text);
    } else {
        throw ScriptError("unknown value type '" + Narrow(type.text) + "'");
    }
    return value;
}

void ParseBlock(Tokens& tokens, ScriptKey& parent);

ScriptKey ParseKey(Tokens& tokens)
{
    ScriptKey key;
    Token name = tokens.Take();
    if (name.Is(L"ForceRemove")) {
        key.modifier = KeyModifier::ForceRemove;
        name = tokens.Take();
    } else if (name.Is(L"NoRemove")) {
        key.modifier = KeyModifier::NoRemove;
        name = tokens.Take();
    } else if (name.Is(L"Delete")) {
        key.modifier = KeyModifier::Delete;
        name = tokens.Take();
    }
    if (!name.quoted && (name.text == L"{" || name.text == L"}" || name.text == L"="))
        throw ScriptError("expected a key name, found '" + Narrow(name.text) + "'");
    key.name = name.text;
    if (!tokens.AtEnd() && tokens.Peek().Is(L"=")) {
        tokens.Take();
        key.defaultValue = ParseValue(tokens);
    }
    if (!tokens.AtEnd() && tokens.Peek().Is(L"{")) ParseBlock(tokens, key);
    return key;
}

// Reads "{ ... }" into parent: subkeys and "val" entries.
void ParseBlock(Tokens& tokens, ScriptKey& parent)
{
    tokens.Expect(L"{");
    while (!tokens.Peek().Is(L"}")) {
        if (tokens.Peek().Is(L"val")) {
            tokens.Take();
            NamedValue value;
            value.name = tokens.Take().text;
            tokens.Expect(L"=");
            value.value = ParseValue(tokens);
            parent.values.push_back(std::move(value));
        } else {
            parent.subkeys.push_back(ParseKey(tokens));
        }
    }
    tokens.Take();
}

bool IsRootName(const std::wstring& name)
{
    static const wchar_t* const kRoots[] = {L"HKCR", L"HKEY_CLASSES_ROOT", L"HKCU", L"HKEY_CURRENT_USER",
                                            L"HKLM", L"HKEY_LOCAL_MACHINE", L"HKU",  L"HKEY_USERS"};
    return std::any_of(std::begin(kRoots), std::end(kRoots), [&](const wchar_t* root) { return SameText(name, root); });
}

} // namespace

bool CaseInsensitiveLess::operator()(const std::wstring& a, const std::wstring& b) const { return Upper(a) < Upper(b); }

std::wstring ExpandReplacements(const std::wstring& text, const Replacements& replacements)
{
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'%') {
            out += text[i];
            continue;
        }
        const size_t end = text.find(L'%', i + 1);
        if (end == std::wstring::npos) throw ScriptError("unterminated %variable%");
        const std::wstring name = text.substr(i + 1, end - i - 1);
        if (name.empty()) {
            out += L'%';
        } else {
            const auto found = replacements.find(name);
            if (found == replacements.end()) throw ScriptError("unknown variable %" + Narrow(name) + "%");
            out += found->second;
        }
        i = end;
    }
    return out;
}

std::vector<ScriptKey> ParseRegistryScript(const std::wstring& text)
{
    Tokens tokens(text);
    std::vector<ScriptKey> roots;
    while (!tokens.AtEnd()) {
        ScriptKey root;
        root.name = tokens.Take().text;
        if (!IsRootName(root.name)) throw ScriptError("unknown root key '" + Narrow(root.name) + "'");
        root.modifier = KeyModifier::NoRemove;
        ParseBlock(tokens, root);
        roots.push_back(std::move(root));
    }
    return roots;
}
