// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/unit_type_table.h"

namespace quillmark {

namespace {
constexpr CodeIndex<5, 2> kIndex(kUnitTypeNames);
}  // namespace

std::string_view UnitTypeName(std::string_view code) { return kIndex.NameOr(code, "UNKNOWN"); }
std::string_view UnitTypeNameAt(std::uint8_t value) {
    return kIndex.NameAt(value % kIndex.kSlots, "UNKNOWN");
}

}  // namespace quillmark
