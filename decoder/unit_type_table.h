// SPDX-License-Identifier: MIT
#pragma once
// Terminal unit types: five bit characters, most significant first, shared by the originating
// and the terminating type. Values 10, 11, 16, 17 and 24 to 31 have no entry.

#include <array>

#include "decoder/code_name.h"

namespace quillmark {

// clang-format off
inline constexpr std::array<CodeName, 20> kUnitTypeNames{{
    {"00000", "NONE"},       //  0
    {"00001", "L500_UNIT"},  //  1
    {"00010", "BCS_UNIT"},   //  2
    {"00011", "TRK_UNIT"},   //  3
    {"00100", "ATTN_UNIT"},  //  4
    {"00101", "TTR_UNIT"},   //  5
    {"00110", "SP_UNIT"},    //  6
    {"00111", "PWR_UNIT"},   //  7
    {"01000", "LCB_UNIT"},   //  8
    {"01001", "XTD_UNIT"},   //  9
    {"01100", "TDET_UNIT"},  // 12
    {"01101", "MFC_UNIT"},   // 13
    {"01110", "MFE_UNIT"},   // 14
    {"01111", "DTD_UNIT"},   // 15
    {"10010", "MFK5_UNIT"},  // 18
    {"10011", "MFK6_UNIT"},  // 19
    {"10100", "OOSU_UNIT"},  // 20
    {"10101", "MXC_UNIT"},   // 21
    {"10110", "CMOD_UNIT"},  // 22
    {"10111", "MAX_UNIT_MOD"},  // 23
}};
// clang-format on

static_assert(table_check::BitCodes(kUnitTypeNames));
static_assert(kUnitTypeNames.front().code == "00000" && kUnitTypeNames.back().code == "10111");

}  // namespace quillmark
