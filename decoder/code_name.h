// SPDX-License-Identifier: MIT
#pragma once
// The {code, name} pairs of the program's name tables, their one lookup, and the build-time
// checks every table passes.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "decoder/byte_scan.h"

namespace quillmark {

struct CodeName {
    std::string_view code;
    std::string_view name;
};

// Codes are a few characters long: compared in line, as std::string_view compares them
// (characters as unsigned values, a prefix first), without a call per comparison.
constexpr bool CodeBefore(std::string_view a, std::string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i)
        if (a[i] != b[i])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    return a.size() < b.size();
}

constexpr bool SameCode(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The name of the entry whose code equals `code` exactly (case-sensitive, nothing trimmed),
// otherwise `fallback`. Every table is strictly ascending by code (checked beside it with
// table_check), so codes are unique and the search halves the table at each step.
constexpr std::string_view NameOr(std::span<const CodeName> table, std::string_view code,
                                  std::string_view fallback) {
    const auto entry = std::lower_bound(
        table.begin(), table.end(), code,
        [](const CodeName& e, std::string_view c) { return CodeBefore(e.code, c); });
    return entry != table.end() && SameCode(entry->code, code) ? entry->name : fallback;
}

// The value of a code of `Width` digits in base `Radix` (2: the bit characters "0" and "1"; 16:
// "0".."9", "A".."F", upper case only, as the tables write them), or nothing when the code is
// not such a number.
template <std::size_t Width, std::size_t Radix>
constexpr std::optional<std::size_t> CodeValue(std::string_view code) {
    static_assert(Radix == 2 || Radix == 16);
    if (code.size() != Width) return std::nullopt;
    std::size_t value = 0;
    for (char c : code) {
        const int digit = bytes::HexValue(c);
        if (digit < 0 || static_cast<std::size_t>(digit) >= Radix) return std::nullopt;
        value = value * Radix + static_cast<std::size_t>(digit);
    }
    return value;
}

// A name table with a slot for every code of `Width` digits in base `Radix`, so that such a
// code is looked up without a search; a code of another form is searched for in the table.
// Gives what NameOr gives.
template <std::size_t Width, std::size_t Radix>
class CodeIndex {
public:
    static constexpr std::size_t kSlots = [] {
        std::size_t slots = 1;
        for (std::size_t k = 0; k < Width; ++k) slots *= Radix;
        return slots;
    }();

    constexpr CodeIndex() = default;
    constexpr explicit CodeIndex(std::span<const CodeName> table) : table_(table) {
        for (std::size_t i = 0; i < table.size(); ++i)
            if (const auto value = CodeValue<Width, Radix>(table[i].code))
                slots_[*value] = static_cast<std::uint16_t>(i + 1);
    }

    constexpr std::string_view NameOr(std::string_view code, std::string_view fallback) const {
        if (const auto value = CodeValue<Width, Radix>(code)) {
            const std::uint16_t slot = slots_[*value];
            return slot != 0 ? table_[slot - 1].name : fallback;
        }
        return quillmark::NameOr(table_, code, fallback);
    }
    // The same for a code given as its value, below kSlots.
    constexpr std::string_view NameAt(std::size_t value, std::string_view fallback) const {
        const std::uint16_t slot = slots_[value];
        return slot != 0 ? table_[slot - 1].name : fallback;
    }

private:
    std::span<const CodeName> table_;
    std::array<std::uint16_t, kSlots> slots_{};  // place in the table plus one; 0 for none
};

// Printable ASCII other than the quote and the backslash. Every name, and every other text a
// decoded record adds to the characters of its message, is such text: it is written into the
// report, a JSON string or a web page as it stands.
constexpr bool IsPlainText(std::string_view text) {
    for (char c : text)
        if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') return false;
    return true;
}

namespace table_check {

template <std::size_t N>
constexpr bool Ascending(const std::array<CodeName, N>& table) {
    for (std::size_t i = 1; i < N; ++i)
        if (!(table[i - 1].code < table[i].code)) return false;
    return true;
}

using bytes::IsUpperHexDigit;
constexpr bool IsBitChar(char c) { return c == '0' || c == '1'; }

// Codes of `width` characters, each passing `allowed`, strictly ascending (so also unique) from
// entry `first` on, and every name non-empty plain text.
template <std::size_t N>
constexpr bool CodesWellFormed(const std::array<CodeName, N>& table, std::size_t width,
                               bool (*allowed)(char), std::size_t first = 0) {
    for (const CodeName& entry : table)
        if (!IsPlainText(entry.name)) return false;
    for (std::size_t i = first; i < N; ++i) {
        if (table[i].code.size() != width || table[i].name.empty()) return false;
        for (char c : table[i].code)
            if (!allowed(c)) return false;
        if (i > first && !(table[i - 1].code < table[i].code)) return false;
    }
    return true;
}

template <std::size_t N>
constexpr bool HexCodes(const std::array<CodeName, N>& table) {
    return CodesWellFormed(table, 2, IsUpperHexDigit);
}

template <std::size_t N>
constexpr bool BitCodes(const std::array<CodeName, N>& table) {
    return CodesWellFormed(table, 5, IsBitChar);
}

}  // namespace table_check
}  // namespace quillmark
