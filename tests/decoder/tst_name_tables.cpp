// SPDX-License-Identifier: MIT
// The four name lookups and the tables behind them.

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "decoder/aux_pm_table.h"
#include "decoder/decoder.h"
#include "decoder/main_pm_table.h"
#include "decoder/queue_table.h"
#include "decoder/unit_type_table.h"

namespace quillmark {
namespace {

struct Lookup {
    std::string code;
    std::string name;
};

TEST(MainPMName, EntriesBoundariesAndFallback) {
    const Lookup cases[] = {
        {"00", "IDLE"},
        {"01", "READY"},
        {"02", "DIALING"},
        {"06", "ESTABLISHED"},
        {"0C", "SPECIAL"},
        {"0E", "RAN_WAITING"},
        {"12", "RLA_CONF_DISCONNECT"},
        {"19", "PLDN_PM"},
        {"1A", "RADIO_PAGE"},
        {"1B", "MAX_MAINPM"},  // the last entry is an entry, not the fallback
        {"1C", "UNDEFINED"},
        {"FF", "UNDEFINED"},
        {"0c", "UNDEFINED"},
        {"C", "UNDEFINED"},
        {"0C ", "UNDEFINED"},
        {" 12", "UNDEFINED"},
        {"", "UNDEFINED"},
        {"0", "UNDEFINED"},
    };
    for (const Lookup& c : cases)
        EXPECT_EQ(MainPMName(c.code), c.name) << "code '" << c.code << "'";
}

struct AuxLookup {
    std::string main, aux, name;
};

TEST(AuxPMName, TableOfTheMainPMAndFallbacks) {
    const AuxLookup cases[] = {
        {"01", "02", "DISA_READY"},
        {"01", "32", "READY_AUXPMS"},
        {"01", "00", "UNKNOWN"},
        {"02", "02", "DELAYDIAL"},
        {"02", "00", "DNTRANS"},
        {"02", "34", "CFDD_process"},
        {"02", "3D", "MAX_DIAL_AUXPM"},
        {"02", "3E", "UNKNOWN"},
        {"02", "3d", "UNKNOWN"},
        {"02", "", "UNKNOWN"},
        {"02", "3", "UNKNOWN"},
        {"03", "03", "EI_PENDING"},
        {"03", "04", "UNKNOWN"},
        {"04", "01", "UNKNOWN"},
        {"05", "0A", "SS2500_PHOLD"},
        {"05", "03", "UNKNOWN"},
        {"07", "00", "UNKNOWN"},
        {"09", "00", "IDLE"},
        {"09", "02", "UNKNOWN"},
        {"0A", "00", "UNKNOWN"},
        {"0C", "00", "AUXPM_0"},
        {"0C", "13", "PASSWROD_ENTRY"},
        {"0C", "5F", "ENTR_CMD_CR"},
        {"0C", "60", "UNKNOWN"},
        {"0C", "61", "SEER_PRINT_TASK"},
        {"0C", "89", "GF_TIMER_CR"},
        {"0C", "8A", "UNKNOWN"},
        {"0F", "03", "UNKNOWN"},
        {"10", "0B", "MAX_ACD_AUXPMS"},
        {"10", "00", "UNKNOWN"},
        // Main PMs without an aux table, and codes outside the main table: empty.
        {"06", "02", ""},
        {"00", "00", ""},
        {"08", "01", ""},
        {"0B", "01", ""},
        {"0D", "01", ""},
        {"0E", "01", ""},
        {"11", "01", ""},
        {"1B", "01", ""},
        {"1C", "01", ""},
        {"0c", "02", ""},
        {"", "", ""},
    };
    for (const AuxLookup& c : cases)
        EXPECT_EQ(AuxPMName(c.main, c.aux), c.name)
            << "main '" << c.main << "' aux '" << c.aux << "'";
}

TEST(AuxPMName, SharedNamesHaveTheSameCodeInEachTable) {
    for (const char* code : {"28", "2A", "30"})
        EXPECT_EQ(AuxPMName("01", code), AuxPMName("02", code));
    for (const char* code : {"0B", "0C", "16", "17", "1A", "1B", "1C", "1F"})
        EXPECT_EQ(AuxPMName("02", code), AuxPMName("0C", code)) << code;
    EXPECT_EQ(AuxPMName("05", "0A"), AuxPMName("0C", "0A"));
}

TEST(UnitTypeName, GapsAndFallback) {
    const Lookup cases[] = {
        {"00000", "NONE"},         {"00001", "L500_UNIT"}, {"01001", "XTD_UNIT"},
        {"01100", "TDET_UNIT"},    {"01111", "DTD_UNIT"},  {"10010", "MFK5_UNIT"},
        {"10111", "MAX_UNIT_MOD"}, {"01010", "UNKNOWN"},   {"01011", "UNKNOWN"},
        {"10000", "UNKNOWN"},      {"10001", "UNKNOWN"},   {"11000", "UNKNOWN"},
        {"11111", "UNKNOWN"},      {"ERROR", "UNKNOWN"},   {"0000", "UNKNOWN"},
        {"", "UNKNOWN"},           {"000000", "UNKNOWN"},
    };
    for (const Lookup& c : cases)
        EXPECT_EQ(UnitTypeName(c.code), c.name) << "code '" << c.code << "'";
}

TEST(QueueName, LoneZeroBoundariesAndFallback) {
    const Lookup cases[] = {
        {"0", "NONE"},          {"00", "QU_NONE"}, {"0F", "QU_PLDN"},  {"10", "QU_RPE"},
        {"22", "TOTAL_QUEUES"}, {"23", "UNKNOWN"}, {"FF", "UNKNOWN"},  {"5", "UNKNOWN"},
        {"0a", "UNKNOWN"},      {"", "UNKNOWN"},   {"000", "UNKNOWN"},
    };
    for (const Lookup& c : cases) EXPECT_EQ(QueueName(c.code), c.name) << "code '" << c.code << "'";
}

// ---- Every entry, read back through the lookups --------------------------------------------
// A table entry with a wrong code or name, one missing or one too many changes what a lookup
// gives for some code of the table's form, which these listings take one by one.

// Every code of two hexadecimal digits, and every code of five bit characters.
std::vector<std::string> HexCodes() {
    std::vector<std::string> codes;
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (char high : kHex)
        for (char low : kHex) codes.push_back({high, low});
    return codes;
}
std::vector<std::string> BitCodes() {
    std::vector<std::string> codes;
    for (unsigned value = 0; value < 32; ++value) {
        std::string bits;
        for (unsigned bit = 16; bit > 0; bit /= 2) bits += (value & bit) != 0 ? '1' : '0';
        codes.push_back(bits);
    }
    return codes;
}

// "code=name " for every code that the lookup names, in code order.
template <class Name>
std::string Named(const std::vector<std::string>& codes, std::string_view fallback,
                  const Name& name) {
    std::string text;
    for (const std::string& code : codes)
        if (const std::string_view found = name(code); found != fallback)
            text += code + "=" + std::string(found) + " ";
    return text;
}

std::string AuxNamed(const char* main) {
    return Named(HexCodes(), "UNKNOWN",
                 [main](const std::string& code) { return AuxPMName(main, code); });
}

TEST(NameTables, EveryEntryOfTheShortTables) {
    EXPECT_EQ(AuxNamed("01"),
              "02=DISA_READY 03=ADLDPM 28=ACD_NSVC 2A=DIAL_ID_STAR 30=USCR_DIAL 32=READY_AUXPMS ");
    EXPECT_EQ(AuxNamed("03"), "00=BUSY_GIVEN 01=OVERFLOW_GIVEN 02=MISC_GIVEN 03=EI_PENDING ");
    EXPECT_EQ(AuxNamed("04"), "02=CHG_CPN_REORDER 03=INCOMPAT_DEST ");
    EXPECT_EQ(AuxNamed("05"),
              "01=BOUNCE_CHECK 02=PBX_SWHOOK_RLT 04=ACD_NITE_WINK "
              "06=FAXS_COMMAND 0A=SS2500_PHOLD ");
    EXPECT_EQ(AuxNamed("07"), "01=SPEC_DIALTN 02=BOUNCE_SUPPRESS ");
    EXPECT_EQ(AuxNamed("09"), "00=IDLE 01=CHARGE_DISPLAY ");
    EXPECT_EQ(AuxNamed("0A"), "01=RECALLING_ATTN 02=RECALLING_STN 03=RECALLING_ACD ");
    EXPECT_EQ(AuxNamed("0F"), "00=CDR_CALLRECORD 01=CDR_TIMING 02=CDR_PPM_DELAY ");
    EXPECT_EQ(AuxNamed("10"),
              "01=ACD_WAITING_HI 02=ACD_WAITING_LO 03=ACD_IDLE_POS_QD 04=ACD_128MS "
              "05=ACD_WAIT_TOF_LO 06=ACD_WAIT_TOF_HI 07=ACD_WAIT_NET_HI 08=ACD_WAIT_NET_LO "
              "09=ACD_2SEC 0A=ACD_CCR_Q 0B=MAX_ACD_AUXPMS ");
    EXPECT_EQ(Named(HexCodes(), "UNDEFINED", MainPMName),
              "00=IDLE 01=READY 02=DIALING 03=BUSY 04=REORDER 05=RINGING 06=ESTABLISHED "
              "07=DELAYDIALING 08=WINKON 09=HALFDISC 0A=WAITING 0B=CAMPON 0C=SPECIAL 0D=CWAITING "
              "0E=RAN_WAITING 0F=CDR 10=ACD_PM 11=CAS_INFO_TONE 12=RLA_CONF_DISCONNECT 13=CAS_HOLD "
              "14=OBSERV_PM 15=MUSIC_PM 16=AAB_DISCONNECT 17=ROA_PM 18=PSDL_PM 19=PLDN_PM "
              "1A=RADIO_PAGE 1B=MAX_MAINPM ");
    EXPECT_EQ(Named(BitCodes(), "UNKNOWN", UnitTypeName),
              "00000=NONE 00001=L500_UNIT 00010=BCS_UNIT 00011=TRK_UNIT 00100=ATTN_UNIT "
              "00101=TTR_UNIT 00110=SP_UNIT 00111=PWR_UNIT 01000=LCB_UNIT 01001=XTD_UNIT "
              "01100=TDET_UNIT 01101=MFC_UNIT 01110=MFE_UNIT 01111=DTD_UNIT 10010=MFK5_UNIT "
              "10011=MFK6_UNIT 10100=OOSU_UNIT 10101=MXC_UNIT 10110=CMOD_UNIT 10111=MAX_UNIT_MOD ");
    std::vector<std::string> queueCodes = HexCodes();
    queueCodes.insert(queueCodes.begin(), "0");
    EXPECT_EQ(
        Named(queueCodes, "UNKNOWN", QueueName),
        "0=NONE 00=QU_NONE 01=QU_128HP 02=QU_CADENCE 03=QU_128 04=QU_2S 05=QU_RING 06=QU_DIAL "
        "07=QU_WAIT 08=QU_RGAG 09=QU_CDR 0A=QU_CAMP 0B=QU_PRINT 0C=QU_IDLE 0D=QU_ATTN 0E=QU_RAN "
        "0F=QU_PLDN 10=QU_RPE 11=QU_DND 12=QU_RAGT 13=QU_ACD 14=QU_AUX_HSIP 15=QU_AUX_HSOP "
        "16=QU_APL_OP 17=QU_APL_IP 18=QU_PARK 19=QU_CDR_Q 1A=QU_ATV_PREC 1B=QU_CSL_SYS_IP "
        "1C=QU_CSL_CP_IP 1D=QU_CSL_ADM_IP 1E=QU_CSL_OP 1F=QU_AWU_MIX 20=QU_RPE2 "
        "21=QU_RPA_MEET_ME 22=TOTAL_QUEUES ");
}

// The long aux PM tables: how many codes each names, and its first and last, through the
// lookup; main PM codes without a table name no aux code.
TEST(AuxPmTables, NamedCodesAndEndsOfEveryTable) {
    struct Shape {
        const char* main;
        std::size_t named;
        std::string first, last;
    };
    const Shape shapes[] = {
        {"01", 6, "02=DISA_READY", "32=READY_AUXPMS"},
        {"02", 62, "00=DNTRANS", "3D=MAX_DIAL_AUXPM"},
        {"03", 4, "00=BUSY_GIVEN", "03=EI_PENDING"},
        {"04", 2, "02=CHG_CPN_REORDER", "03=INCOMPAT_DEST"},
        {"05", 5, "01=BOUNCE_CHECK", "0A=SS2500_PHOLD"},
        {"07", 2, "01=SPEC_DIALTN", "02=BOUNCE_SUPPRESS"},
        {"09", 2, "00=IDLE", "01=CHARGE_DISPLAY"},
        {"0A", 3, "01=RECALLING_ATTN", "03=RECALLING_ACD"},
        {"0C", 137, "00=AUXPM_0", "89=GF_TIMER_CR"},
        {"0F", 3, "00=CDR_CALLRECORD", "02=CDR_PPM_DELAY"},
        {"10", 11, "01=ACD_WAITING_HI", "0B=MAX_ACD_AUXPMS"},
    };
    std::size_t named = 0;
    for (const std::string& main : HexCodes()) {
        const std::string listed = AuxNamed(main.c_str());
        const auto shape = std::find_if(std::begin(shapes), std::end(shapes),
                                        [&](const Shape& s) { return s.main == main; });
        if (shape == std::end(shapes)) {
            EXPECT_EQ(Named(HexCodes(), "",
                            [&](const std::string& code) { return AuxPMName(main, code); }),
                      "")
                << main;
            continue;
        }
        const std::size_t count =
            static_cast<std::size_t>(std::count(listed.begin(), listed.end(), ' '));
        EXPECT_EQ(count, shape->named) << main;
        EXPECT_TRUE(listed.starts_with(shape->first + " ")) << main;
        EXPECT_TRUE(listed.ends_with(" " + shape->last + " ")) << main;
        named += count;
    }
    EXPECT_EQ(named, 237u);
}

TEST(AuxPmTables, SpotChecksOfTheLongTables) {
    const AuxLookup cases[] = {
        {"02", "07", "CONMPLETE"},        {"02", "15", "RLM_FLASH"},
        {"02", "19", "ACD_AGENT_DIGIT"},  {"02", "1E", "CBQCM_DIAL"},
        {"02", "29", "NCT_COLL_FUNC"},    {"02", "2E", "CCR_WAIT_RESPTO"},
        {"02", "39", "DPNSS_SEND_DIGS"},  {"02", "3C", "RESV_AUXPM"},
        {"0C", "0F", "DDSP_CR"},          {"0C", "29", "AMP_MRATE_TIMOUT"},
        {"0C", "2D", "MR_ALTER"},         {"0C", "2E", "RMS_REQ_CHG"},
        {"0C", "4B", "AML_MSDL_I_PRINT"}, {"0C", "56", "PRINT_PALIN_TXT"},
        {"0C", "5B", "DCH_MAINT"},        {"0C", "5C", "BRIT_MISP"},
        {"0C", "7E", "PRIE_RBLD_CR_TO"},  {"0C", "84", "RESV3_SP_AUX"},
    };
    for (const AuxLookup& c : cases)
        EXPECT_EQ(AuxPMName(c.main, c.aux), c.name) << c.main << "/" << c.aux;
}

// The lookups search by halving; a plain walk through the table must find the same for every
// code of the table and for codes next to them: each character changed, one dropped or added,
// lower case, a byte that is not ASCII, the empty code, and every code of the lookup's own form.
std::string_view Walk(std::span<const CodeName> table, std::string_view code,
                      std::string_view fallback) {
    for (const CodeName& entry : table)
        if (entry.code == code) return entry.name;
    return fallback;
}

std::vector<std::string> CodesAround(std::span<const CodeName> table) {
    std::vector<std::string> codes{"", "\xff", "0\xc3\xa9"};
    // Every code of two hexadecimal digits and of five bit characters, in a table or not.
    for (const std::vector<std::string>& form : {HexCodes(), BitCodes()})
        codes.insert(codes.end(), form.begin(), form.end());
    for (const CodeName& entry : table) {
        const std::string code(entry.code);
        codes.push_back(code);
        codes.push_back(code.substr(1));
        codes.push_back(code.substr(0, code.size() - 1));
        codes.push_back(code + "0");
        codes.push_back("0" + code);
        for (std::size_t i = 0; i < code.size(); ++i)
            for (char c : {'0', '1', '9', 'A', 'F', 'G', 'a', 'f', ' ', '\x80'}) {
                std::string near = code;
                near[i] = c;
                codes.push_back(near);
            }
    }
    return codes;
}

TEST(NameTables, SearchFindsWhatAWalkFinds) {
    for (const std::string& code : CodesAround(kMainPmNames))
        EXPECT_EQ(MainPMName(code), Walk(kMainPmNames, code, "UNDEFINED")) << code;
    for (const std::string& code : CodesAround(kUnitTypeNames))
        EXPECT_EQ(UnitTypeName(code), Walk(kUnitTypeNames, code, "UNKNOWN")) << code;
    for (const std::string& code : CodesAround(kQueueNames))
        EXPECT_EQ(QueueName(code), Walk(kQueueNames, code, "UNKNOWN")) << code;
    for (const AuxPmTable& table : kAuxPmTables)
        for (const std::string& code : CodesAround(table.names))
            EXPECT_EQ(AuxPMName(table.mainCode, code), Walk(table.names, code, "UNKNOWN")) << code;
}

}  // namespace
}  // namespace quillmark
