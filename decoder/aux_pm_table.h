// SPDX-License-Identifier: MIT
#pragma once
// Auxiliary progress marks. An aux code means something only under its main progress mark, so
// each main PM with auxiliary states has a table of its own; main PMs without one have no aux
// name at all.

#include <array>
#include <span>
#include <string_view>

#include "decoder/code_name.h"

namespace quillmark {

inline constexpr std::array<CodeName, 6> kAuxPmReady{{
    {"02", "DISA_READY"},
    {"03", "ADLDPM"},
    {"28", "ACD_NSVC"},
    {"2A", "DIAL_ID_STAR"},
    {"30", "USCR_DIAL"},
    {"32", "READY_AUXPMS"},
}};

inline constexpr std::array<CodeName, 62> kAuxPmDialing{{
    {"00", "DNTRANS"},
    {"01", "AWAITREPLY"},
    {"02", "DELAYDIAL"},
    {"03", "TEMPPATH"},
    {"04", "OUTPULSING"},
    {"05", "NOOUTPULSING"},
    {"06", "FAREND_OFF"},
    {"07", "CONMPLETE"},
    {"08", "ABSORBING"},
    {"09", "TOLLCHECK"},
    {"0A", "PAUSING"},
    {"0B", "SPEEDCALL1"},
    {"0C", "SPEEDCALL2"},
    {"0D", "AWAIT_ANI"},
    {"0E", "SS2500_PROCESS"},
    {"0F", "DIGTRANS"},
    {"10", "DISA"},
    {"11", "CHARGE"},
    {"12", "CPN"},
    {"13", "AUTHCODE"},
    {"14", "CHARGE_SSP"},
    {"15", "RLM_FLASH"},
    {"16", "RELOCATE_IN"},
    {"17", "RELOCATE_OUT"},
    {"18", "NARS_CALL"},
    {"19", "ACD_AGENT_DIGIT"},
    {"1A", "TELSTAT_CALL"},
    {"1B", "TELMSG_CALL"},
    {"1C", "CALL_PARKING"},
    {"1D", "CPRK_ACCESSING"},
    {"1E", "CBQCM_DIAL"},
    {"1F", "SPEEDCALL3"},
    {"20", "ABORTCALL"},
    {"21", "TVS_CALL"},
    {"22", "ACD_DNIS"},
    {"23", "PRA_DIALING"},
    {"24", "IDC_PROCESS"},
    {"25", "DCP_GRP_AUXPM"},
    {"26", "DCP_DN_AUXPM"},
    {"27", "DVS_CALL"},
    {"28", "ACD_NSVC"},
    {"29", "NCT_COLL_FUNC"},
    {"2A", "DIAL_ID_STAR"},
    {"2B", "DIAL_MAIL_DIG"},
    {"2C", "MAID_ID_DONE"},
    {"2D", "MDC_COLL_FUNC"},
    {"2E", "CCR_WAIT_RESPTO"},
    {"2F", "RVQCM_DIAL"},
    {"30", "USCR_DIAL"},
    {"31", "ICP_ACT_STATE"},
    {"32", "ICP_CAN_STATE"},
    {"33", "ICP_IRG_STATE"},
    {"34", "CFDD_process"},
    {"35", "DIAL_DONE"},
    {"36", "RPA_ACCESSING"},
    {"37", "RPA_ANSWERING"},
    {"38", "GCOT_PULSE"},
    {"39", "DPNSS_SEND_DIGS"},
    {"3A", "SBA_DIALING"},
    {"3B", "ADL_PROCESS"},
    {"3C", "RESV_AUXPM"},
    {"3D", "MAX_DIAL_AUXPM"},
}};

inline constexpr std::array<CodeName, 4> kAuxPmBusy{{
    {"00", "BUSY_GIVEN"},
    {"01", "OVERFLOW_GIVEN"},
    {"02", "MISC_GIVEN"},
    {"03", "EI_PENDING"},
}};

inline constexpr std::array<CodeName, 2> kAuxPmReorder{{
    {"02", "CHG_CPN_REORDER"},
    {"03", "INCOMPAT_DEST"},
}};

inline constexpr std::array<CodeName, 5> kAuxPmRinging{{
    {"01", "BOUNCE_CHECK"},
    {"02", "PBX_SWHOOK_RLT"},
    {"04", "ACD_NITE_WINK"},
    {"06", "FAXS_COMMAND"},
    {"0A", "SS2500_PHOLD"},
}};

inline constexpr std::array<CodeName, 2> kAuxPmDelayDialing{{
    {"01", "SPEC_DIALTN"},
    {"02", "BOUNCE_SUPPRESS"},
}};

inline constexpr std::array<CodeName, 2> kAuxPmHalfDisc{{
    {"00", "IDLE"},
    {"01", "CHARGE_DISPLAY"},
}};

inline constexpr std::array<CodeName, 3> kAuxPmWaiting{{
    {"01", "RECALLING_ATTN"},
    {"02", "RECALLING_STN"},
    {"03", "RECALLING_ACD"},
}};

// No entry "60": "5F" is followed by "61".
inline constexpr std::array<CodeName, 137> kAuxPmSpecial{{
    {"00", "AUXPM_0"},
    {"01", "TOD"},
    {"02", "CALLFWD"},
    {"03", "DND_PM"},
    {"04", "RGACR"},
    {"05", "AUXPM_5"},
    {"06", "DATE"},
    {"07", "COMPLETE"},
    {"08", "CHARGE_SON"},
    {"09", "CPN_SON"},
    {"0A", "SS2500_PHOLD"},
    {"0B", "SPEEDCALL1"},
    {"0C", "SPEEDCALL2"},
    {"0D", "AUTHCODE_SON"},
    {"0E", "CONFERENCE_SON"},
    {"0F", "DDSP_CR"},
    {"10", "AUX_MESSAGE"},
    {"11", "MW_DIALLING"},
    {"12", "DIAL_COMPLETED"},
    {"13", "PASSWROD_ENTRY"},
    {"14", "PROGRAMMING"},
    {"15", "TDET_TIMEOUT"},
    {"16", "RELOCATE_IN"},
    {"17", "RELOCATE_OUT"},
    {"18", "APL_PM"},
    {"19", "SET_RING_AUXPM"},
    {"1A", "TELSTAT_CALL"},
    {"1B", "TELMSG_CALL"},
    {"1C", "CALL_PARKING"},
    {"1D", "CALL_PARKED"},
    {"1E", "ACD_PRINT_AUXPM"},
    {"1F", "SPEEDCALL3"},
    {"20", "TESTLINE"},
    {"21", "SNRSTORE"},
    {"22", "SNRLAMP_TO"},
    {"23", "ATV_INC_PREMPT"},
    {"24", "I_HOLD_SON"},
    {"25", "AML_MAINT"},
    {"26", "CSL_PM"},
    {"27", "HM_CCOS_PM"},
    {"28", "AMP_RGA"},
    {"29", "AMP_MRATE_TIMOUT"},
    {"2A", "CSL_MON_PRT_CR"},
    {"2B", "DSET_FORCEDISC"},
    {"2C", "MR_REQUEST"},
    {"2D", "MR_ALTER"},
    {"2E", "RMS_REQ_CHG"},
    {"2F", "RMS_ALTER"},
    {"30", "DCH_MONITOR"},
    {"31", "PRA_MSG_CR"},
    {"32", "SHORT_BUZZ_CR"},
    {"33", "ORIG_DENIED"},
    {"34", "PRA_TCAP_CR"},
    {"35", "X25_AUXPM"},
    {"36", "ACD_ACNT_ENTRY"},
    {"37", "NRAG_500_SET"},
    {"38", "DOWNLD_TIMEOUT"},
    {"39", "UPLOAD_TIMEOUT"},
    {"3A", "THF_DURATION"},
    {"3B", "PRA_ROSE_CR"},
    {"3C", "PRINTCR_AUXPM"},
    {"3D", "SNAP_PRINT_TASK"},
    {"3E", "XCON_TEST"},
    {"3F", "XCT_TIMEOUT"},
    {"40", "AWU_WAK_PROG"},
    {"41", "AWU_NEXT_TIME"},
    {"42", "AWU_WUK_DONE"},
    {"43", "RMS_MAID_ID"},
    {"44", "FGD_AUX_CR"},
    {"45", "NCT_PRINT"},
    {"46", "LINE_DISC_TO"},
    {"47", "CCR_DISC_128"},
    {"48", "CCR_FLUSH"},
    {"49", "MSDL_MONITOR"},
    {"4A", "MSDL_MAINT"},
    {"4B", "AML_MSDL_I_PRINT"},
    {"4C", "BRI_MSG_CR"},
    {"4D", "CCR_RESTORE2QS"},
    {"4E", "MSDLDCH_PRT_CR"},
    {"4F", "MISP_APL_TIMOUT"},
    {"50", "DASS_MSG_CR"},
    {"51", "CMDN_TS_CR"},
    {"52", "OHOL_RLS"},
    {"53", "CARD_AUTOCFG"},
    {"54", "SBA_TIMEOUT"},
    {"55", "XS_CNFWT_CONF"},
    {"56", "PRINT_PALIN_TXT"},
    {"57", "IEN_DISCONNECT"},
    {"58", "RO_RESERVED"},
    {"59", "BRIT_DCH"},
    {"5A", "BRIT_PRT_CR"},
    {"5B", "DCH_MAINT"},
    {"5C", "BRIT_MISP"},
    {"5D", "M911_AUX_CR"},
    {"5E", "USCR_FUNC"},
    {"5F", "ENTR_CMD_CR"},
    {"61", "SEER_PRINT_TASK"},
    {"62", "SEER_OF_PTASK"},
    {"63", "SEER_DATA_PTASK"},
    {"64", "PRINT_FORMATTED"},
    {"65", "PMS_AUXPM"},
    {"66", "DPNSS_ISDN_CR"},
    {"67", "UIPE_L3_MON"},
    {"68", "MCTD_DURATION"},
    {"69", "MCT_FACILITY"},
    {"6A", "ISDN_OOB_EES"},
    {"6B", "UIPE_SS_CR"},
    {"6C", "BRIE_PRT_CR"},
    {"6D", "SBA_SON_CR"},
    {"6E", "CCB2_DURATION"},
    {"6F", "DISC_CR"},
    {"70", "BRI_SS_CR"},
    {"71", "CPNW_PM"},
    {"72", "CCBI_DURATION"},
    {"73", "M911_CAB"},
    {"74", "FHWR_CR"},
    {"75", "MQA_DSPLY_CR"},
    {"76", "SEER_EXP_PTASK"},
    {"77", "CHG_TRN_DISP"},
    {"78", "SFR_WAIT_RESP"},
    {"79", "IAGT_DISP_CR"},
    {"7A", "NSBR_TERM_CDN"},
    {"7B", "IAGT_MSG_CR"},
    {"7C", "DISC_IVR_BRDCST"},
    {"7D", "ACDR_GV_RINGBCK"},
    {"7E", "PRIE_RBLD_CR_TO"},
    {"7F", "UIPE_INI_RBLD"},
    {"80", "SSCC_PROT_CR"},
    {"81", "RESV0_SP_AUX"},
    {"82", "RESV1_SP_AUX"},
    {"83", "RESV2_SP_AUX"},
    {"84", "RESV3_SP_AUX"},
    {"85", "DV_FM_PENDING"},
    {"86", "DVT_PENDING"},
    {"87", "UIPE_GF_CR"},
    {"88", "GF_NCAL_CR"},
    {"89", "GF_TIMER_CR"},
}};

inline constexpr std::array<CodeName, 3> kAuxPmCdr{{
    {"00", "CDR_CALLRECORD"},
    {"01", "CDR_TIMING"},
    {"02", "CDR_PPM_DELAY"},
}};

inline constexpr std::array<CodeName, 11> kAuxPmAcd{{
    {"01", "ACD_WAITING_HI"},
    {"02", "ACD_WAITING_LO"},
    {"03", "ACD_IDLE_POS_QD"},
    {"04", "ACD_128MS"},
    {"05", "ACD_WAIT_TOF_LO"},
    {"06", "ACD_WAIT_TOF_HI"},
    {"07", "ACD_WAIT_NET_HI"},
    {"08", "ACD_WAIT_NET_LO"},
    {"09", "ACD_2SEC"},
    {"0A", "ACD_CCR_Q"},
    {"0B", "MAX_ACD_AUXPMS"},
}};

// The aux table that belongs to a main PM code.
struct AuxPmTable {
    std::string_view mainCode;
    std::span<const CodeName> names;
};

inline constexpr std::array<AuxPmTable, 11> kAuxPmTables{{
    {"01", kAuxPmReady},
    {"02", kAuxPmDialing},
    {"03", kAuxPmBusy},
    {"04", kAuxPmReorder},
    {"05", kAuxPmRinging},
    {"07", kAuxPmDelayDialing},
    {"09", kAuxPmHalfDisc},
    {"0A", kAuxPmWaiting},
    {"0C", kAuxPmSpecial},
    {"0F", kAuxPmCdr},
    {"10", kAuxPmAcd},
}};

static_assert(table_check::HexCodes(kAuxPmReady));
static_assert(table_check::HexCodes(kAuxPmDialing));
static_assert(table_check::HexCodes(kAuxPmBusy));
static_assert(table_check::HexCodes(kAuxPmReorder));
static_assert(table_check::HexCodes(kAuxPmRinging));
static_assert(table_check::HexCodes(kAuxPmDelayDialing));
static_assert(table_check::HexCodes(kAuxPmHalfDisc));
static_assert(table_check::HexCodes(kAuxPmWaiting));
static_assert(table_check::HexCodes(kAuxPmSpecial));
static_assert(table_check::HexCodes(kAuxPmCdr));
static_assert(table_check::HexCodes(kAuxPmAcd));
// The two long tables have every code of their range: "00".."3D", and "00".."89" but "60".
static_assert(kAuxPmDialing.front().code == "00" && kAuxPmDialing.back().code == "3D");
static_assert(kAuxPmSpecial.front().code == "00" && kAuxPmSpecial.back().code == "89");
static_assert(kAuxPmSpecial[95].code == "5F" && kAuxPmSpecial[96].code == "61");

constexpr bool MainCodesAscend() {
    for (std::size_t i = 0; i < kAuxPmTables.size(); ++i) {
        if (!CodeValue<2, 16>(kAuxPmTables[i].mainCode)) return false;  // two hexadecimal digits
        if (i > 0 && !(kAuxPmTables[i - 1].mainCode < kAuxPmTables[i].mainCode)) return false;
    }
    return true;
}
static_assert(MainCodesAscend());

}  // namespace quillmark
