#pragma once
// The host widens its request bytes one to one (0x80-0xFF become
// 0xFF80-0xFFFF). These undo that, so texts reach us as the page sent them.
#include <optional>
#include <string>

// The bytes behind a widened text; empty optional when a unit cannot come from
// a byte (a text not made by widening).
std::optional<std::string> UnwidenBytes(const wchar_t* text);

// The widened bytes read as UTF-8 (the request's encoding), as UTF-16.
std::wstring UnwidenUtf8(const wchar_t* text);
