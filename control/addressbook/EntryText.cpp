#include "EntryText.h"

std::optional<std::string> FormatEntryTemplate(std::string_view entryTemplate, std::int32_t objectNumber,
                                               std::int32_t id)
{
    if (entryTemplate.size() >= kEntryBufferSize) return std::nullopt;
    const std::size_t nul = entryTemplate.find('\0');
    if (nul != std::string_view::npos) entryTemplate = entryTemplate.substr(0, nul);

    const std::int32_t arguments[] = {objectNumber, id};
    std::size_t used = 0;
    std::string out;
    out.reserve(entryTemplate.size() + 16);
    for (std::size_t i = 0; i < entryTemplate.size(); ++i) {
        const char c = entryTemplate[i];
        if (c != '%') {
            out += c;
            continue;
        }
        const char conversion = i + 1 < entryTemplate.size() ? entryTemplate[i + 1] : '\0';
        if (conversion == '%') {
            out += '%';
        } else if (conversion == 'd' && used < 2) {
            out += std::to_string(arguments[used++]);
        } else {
            return std::nullopt;
        }
        ++i;
    }
    if (out.size() >= kEntryBufferSize) return std::nullopt;
    return out;
}
