// SPDX-License-Identifier: MIT
#include "decoder/aux_pm_table.h"
#include "decoder/decoder.h"

namespace quillmark {

namespace {

// Each aux table indexed by its codes, and the place of each main PM code's table plus one.
constexpr auto kAuxIndexes = [] {
    std::array<CodeIndex<2, 16>, kAuxPmTables.size()> indexes;
    for (std::size_t i = 0; i < kAuxPmTables.size(); ++i)
        indexes[i] = CodeIndex<2, 16>(kAuxPmTables[i].names);
    return indexes;
}();
constexpr auto kTableOfMain = [] {
    std::array<std::uint8_t, CodeIndex<2, 16>::kSlots> places{};
    for (std::size_t i = 0; i < kAuxPmTables.size(); ++i)
        places[*CodeValue<2, 16>(kAuxPmTables[i].mainCode)] = static_cast<std::uint8_t>(i + 1);
    return places;
}();

}  // namespace

std::string_view AuxPMName(std::string_view mainCode, std::string_view auxCode) {
    // Main codes are two hexadecimal digits (checked beside the tables); no other code has a table.
    const auto main = CodeValue<2, 16>(mainCode);
    if (!main || kTableOfMain[*main] == 0) return "";  // this main PM has no auxiliary states
    return kAuxIndexes[kTableOfMain[*main] - 1].NameOr(auxCode, "UNKNOWN");
}

std::string_view AuxPMNameAt(std::uint8_t mainValue, std::uint8_t auxValue) {
    if (kTableOfMain[mainValue] == 0) return "";
    return kAuxIndexes[kTableOfMain[mainValue] - 1].NameAt(auxValue, "UNKNOWN");
}

}  // namespace quillmark
