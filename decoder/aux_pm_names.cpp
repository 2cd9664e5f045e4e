// SPDX-License-Identifier: MIT
#include "decoder/aux_pm_table.h"
#include "decoder/decoder.h"

namespace quillmark {

std::string_view AuxPMName(std::string_view mainCode, std::string_view auxCode) {
    for (const AuxPmTable& table : kAuxPmTables)
        if (SameCode(table.mainCode, mainCode)) return NameOr(table.names, auxCode, "UNKNOWN");
    return "";  // this main PM has no auxiliary states
}

}  // namespace quillmark
