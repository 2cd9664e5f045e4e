// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/main_pm_table.h"

namespace quillmark {

std::string_view MainPMName(std::string_view code) {
    return NameOr(kMainPmNames, code, "UNDEFINED");
}

}  // namespace quillmark
