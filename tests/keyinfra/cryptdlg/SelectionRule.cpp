#include "SelectionRule.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

SelectionRule ParseSelectionRule(const std::string& text)
{
    SelectionRule rule;
    if (text.empty() || text == "none") return rule;
    if (text == "first") {
        rule.kind = SelectionRule::Kind::index;
        return rule;
    }
    if (text.rfind("index:", 0) == 0) {
        const std::string number = text.substr(6);
        if (number.empty() || number.size() > 6 || !std::all_of(number.begin(), number.end(), [](unsigned char c) { return std::isdigit(c); }) ||
            std::stoul(number) == 0) {
            throw std::invalid_argument("index needs a number from 1");
        }
        rule.kind = SelectionRule::Kind::index;
        rule.index = std::stoul(number) - 1;
        return rule;
    }
    if (text.rfind("serial:", 0) == 0) {
        rule.kind = SelectionRule::Kind::serial;
        rule.serial = text.substr(7);
        if (rule.serial.empty() || !std::all_of(rule.serial.begin(), rule.serial.end(), [](unsigned char c) { return std::isxdigit(c); })) {
            throw std::invalid_argument("serial needs hex digits");
        }
        std::transform(rule.serial.begin(), rule.serial.end(), rule.serial.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return rule;
    }
    throw std::invalid_argument("unknown rule");
}

std::optional<size_t> ApplySelectionRule(const SelectionRule& rule, const std::vector<std::string>& shown)
{
    switch (rule.kind) {
    case SelectionRule::Kind::none:
        return std::nullopt;
    case SelectionRule::Kind::index:
        if (rule.index < shown.size()) return rule.index;
        return std::nullopt;
    case SelectionRule::Kind::serial: {
        const auto found = std::find(shown.begin(), shown.end(), rule.serial);
        if (found != shown.end()) return static_cast<size_t>(found - shown.begin());
        return std::nullopt;
    }
    }
    return std::nullopt;
}
