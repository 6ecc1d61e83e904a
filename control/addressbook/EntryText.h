#pragma once
// Turns an entry template into the text of one entry object.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Templates and entries live in fixed buffers of this size, NUL included.
constexpr std::size_t kEntryBufferSize = 4096;

// Replaces the first "%d" with objectNumber and the second with id, and "%%"
// with "%". The template ends at its first NUL, as a C format would. A
// template the entry buffer cannot hold, a third "%d", any other conversion,
// or a lone "%" at the end makes it unusable: the answer is then empty. The
// scratch template comes from a file anyone could have left, so it is never
// handed to printf.
std::optional<std::string> FormatEntryTemplate(std::string_view entryTemplate, std::int32_t objectNumber,
                                               std::int32_t id);
