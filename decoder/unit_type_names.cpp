// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/unit_type_table.h"

namespace quillmark {

std::string_view UnitTypeName(std::string_view code) {
    return NameOr(kUnitTypeNames, code, "UNKNOWN");
}

}  // namespace quillmark
