// SPDX-License-Identifier: MIT
#pragma once
// Main progress marks: the state of the call in call processing, two hexadecimal digits.

#include <array>

#include "decoder/code_name.h"

namespace quillmark {

inline constexpr std::array<CodeName, 28> kMainPmNames{{
    {"00", "IDLE"},
    {"01", "READY"},
    {"02", "DIALING"},
    {"03", "BUSY"},
    {"04", "REORDER"},
    {"05", "RINGING"},
    {"06", "ESTABLISHED"},
    {"07", "DELAYDIALING"},
    {"08", "WINKON"},
    {"09", "HALFDISC"},
    {"0A", "WAITING"},
    {"0B", "CAMPON"},
    {"0C", "SPECIAL"},
    {"0D", "CWAITING"},
    {"0E", "RAN_WAITING"},
    {"0F", "CDR"},
    {"10", "ACD_PM"},
    {"11", "CAS_INFO_TONE"},
    {"12", "RLA_CONF_DISCONNECT"},
    {"13", "CAS_HOLD"},
    {"14", "OBSERV_PM"},
    {"15", "MUSIC_PM"},
    {"16", "AAB_DISCONNECT"},
    {"17", "ROA_PM"},
    {"18", "PSDL_PM"},
    {"19", "PLDN_PM"},
    {"1A", "RADIO_PAGE"},
    {"1B", "MAX_MAINPM"},
}};

// 28 ascending codes from "00" to "1B" leave no gap.
static_assert(table_check::HexCodes(kMainPmNames));
static_assert(kMainPmNames.front().code == "00" && kMainPmNames.back().code == "1B");

}  // namespace quillmark
