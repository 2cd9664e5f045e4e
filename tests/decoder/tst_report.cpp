// SPDX-License-Identifier: MIT
// Captions in label order, the clipboard report and dropping the first word.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

TEST(CaptionsInLabelOrder, FollowsTheResultLabels) {
    DecodedFields f;
    for (const FieldRow& row : kFields) f.*row.member = row.key;
    const ResultCaptions expected{"CallRegister", "MainPM", "AuxPM",     "OrigType",  "TermType",
                                  "OrigTN",       "TermTN", "Queue",     "CRLink",    "CRBakLink",
                                  "AuxCR",        "CRDialed", "DigitLoad", "DigitUnload", "DigsDialed"};
    EXPECT_EQ(CaptionsInLabelOrder(f), expected);
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
        {"A\r\nB C", "C"},          // a line break is no space
        {"A\tB C", "C"},            // nor is a tab
        {"BUG123 ", ""},
        {"", ""},
        {"  two", " two"},          // one space per press
        {"A\xc2\xa0" "B C", "C"},   // a non-breaking space is no space either
        {"\xc3\xa9 \xc3\xa9", "\xc3\xa9"},
    };
    for (const TrimCase& c : cases) EXPECT_EQ(TrimFirstWord(c.text), c.trimmed) << "text '" << c.text << "'";
}

}  // namespace
}  // namespace quillmark
