// SPDX-License-Identifier: MIT
#pragma once
// Call-processing queues. The lone "0" stands first: it is what the queue field holds when the
// queue word is written as a single zero; all other codes are two hexadecimal digits.

#include <array>

#include "decoder/code_name.h"

namespace quillmark {

// clang-format off
inline constexpr std::array<CodeName, 36> kQueueNames{{
    {"0", "NONE"},
    {"00", "QU_NONE"},
    {"01", "QU_128HP"},
    {"02", "QU_CADENCE"},
    {"03", "QU_128"},
    {"04", "QU_2S"},
    {"05", "QU_RING"},
    {"06", "QU_DIAL"},
    {"07", "QU_WAIT"},
    {"08", "QU_RGAG"},
    {"09", "QU_CDR"},
    {"0A", "QU_CAMP"},
    {"0B", "QU_PRINT"},
    {"0C", "QU_IDLE"},
    {"0D", "QU_ATTN"},
    {"0E", "QU_RAN"},
    {"0F", "QU_PLDN"},
    {"10", "QU_RPE"},
    {"11", "QU_DND"},
    {"12", "QU_RAGT"},
    {"13", "QU_ACD"},
    {"14", "QU_AUX_HSIP"},
    {"15", "QU_AUX_HSOP"},
    {"16", "QU_APL_OP"},
    {"17", "QU_APL_IP"},
    {"18", "QU_PARK"},
    {"19", "QU_CDR_Q"},
    {"1A", "QU_ATV_PREC"},
    {"1B", "QU_CSL_SYS_IP"},
    {"1C", "QU_CSL_CP_IP"},
    {"1D", "QU_CSL_ADM_IP"},
    {"1E", "QU_CSL_OP"},
    {"1F", "QU_AWU_MIX"},
    {"20", "QU_RPE2"},
    {"21", "QU_RPA_MEET_ME"},
    {"22", "TOTAL_QUEUES"},
}};
// clang-format on

static_assert(kQueueNames[0].code == "0" && kQueueNames[0].name == "NONE");
// From the second entry on: 35 ascending two-digit codes "00" to "22", no gap.
static_assert(table_check::CodesWellFormed(kQueueNames, 2, table_check::IsUpperHexDigit, 1));
static_assert(kQueueNames[1].code == "00" && kQueueNames.back().code == "22");
static_assert(table_check::Ascending(kQueueNames), "\"0\" sorts before \"00\"");

}  // namespace quillmark
