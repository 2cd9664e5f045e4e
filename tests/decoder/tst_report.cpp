// SPDX-License-Identifier: MIT
// Captions in label order, the clipboard report and dropping the first word.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

// A dump whose fifteen results all differ, so that a caption taken from the wrong field shows.
TEST(CaptionsInLabelOrder, EachCaptionFromItsOwnField) {
    const ResultCaptions expected{"0008F5B4",
                                  "READY",
                                  "DISA_READY",
                                  "XTD_UNIT",
                                  "UNKNOWN",
                                  "Use LD 32 to Convert TN H.0421",
                                  "Use LD 32 to Convert TN H.0422",
                                  "QU_IDLE",
                                  "00090010",
                                  "00090020",
                                  "0000A0A1",
                                  "0000C0C1",
                                  "H.00101 (DEC: 5)",
                                  "H.11111 (DEC: 31)",
                                  "301B"};
    const DecodedFields fields = DecodeText(
        "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 0000A0A1 "
        "00000000 0000C0C1 000003E5 0000B1A3");
    EXPECT_EQ(CaptionsInLabelOrder(fields), expected);
    EXPECT_EQ(fields[Field::AuxCR], "0000A0A1");
    EXPECT_EQ(fields[Field::CRDialed], "0000C0C1");
    EXPECT_EQ(fields[Field::DigitUnload], "H.11111 (DEC: 31)");
}

TEST(BuildReport, EmptyCaptionsGiveTheLabelsAlone) {
    EXPECT_EQ(BuildReport(ResultCaptions{}), sample::kEmptyReport);
}

TEST(BuildReport, WorkedExampleCaptionsUnchanged) {
    EXPECT_EQ(BuildReport(CaptionsInLabelOrder(DecodeText(sample::kWorkedExample))),
              sample::kWorkedExampleReport);
}

TEST(BuildReport, CaptionsGoInAsTheyStand) {
    ResultCaptions captions;
    captions[0] = " a \r\n";
    captions[14] = "\xc2\xa0\xff";
    const std::string report = BuildReport(captions);
    EXPECT_EQ(report.substr(0, 22), "Call Register:  a \r\n\r\n");
    EXPECT_EQ(report.substr(report.size() - 22), "Digits Dialed: \xc2\xa0\xef\xbf\xbd\r\n");
}

struct TrimCase {
    std::string text;
    std::string trimmed;
};

TEST(TrimFirstWord, DropsUpToTheFirstSpace) {
    const TrimCase cases[] = {
        {"BUG123 0000 1111", "0000 1111"},
        {"0000 1111", "1111"},
        {"1111", "1111"},
        {" 0000", "0000"},
        {"A\r\nB C", "C"},  // a line break is no space
        {"A\tB C", "C"},    // nor is a tab
        {"BUG123 ", ""},
        {"", ""},
        {"  two", " two"},  // one space per press
        {"A\xc2\xa0"
         "B C",
         "C"},  // a non-breaking space is no space either
        {"\xc3\xa9 \xc3\xa9", "\xc3\xa9"},
    };
    for (const TrimCase& c : cases)
        EXPECT_EQ(TrimFirstWord(c.text), c.trimmed) << "text '" << c.text << "'";
}

}  // namespace
}  // namespace quillmark
