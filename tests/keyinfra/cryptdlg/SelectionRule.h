#pragma once
// Which shown certificate the dialog double picks, as the test names it in
// KEYINFRA_CRYPTDLG_SELECT: none, first, index:<n> (from 1), serial:<hex>.
#include <optional>
#include <string>
#include <vector>

struct SelectionRule {
    enum class Kind { none, index, serial } kind = Kind::none;
    size_t index = 0;    // from 0
    std::string serial;  // upper case
};

// Throws std::invalid_argument for a text that is no rule; empty means none.
SelectionRule ParseSelectionRule(const std::string& text);

// The position in shown (serial texts, upper case) of the pick, if any.
std::optional<size_t> ApplySelectionRule(const SelectionRule& rule, const std::vector<std::string>& shown);
