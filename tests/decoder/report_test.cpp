// SPDX-License-Identifier: MIT
// Captions in label order, the clipboard report and dropping the first word.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"

namespace quillmark {
namespace {

TEST(CaptionsInLabelOrder, FollowsTheResultLabels) {
    DecodedFields f;
    f.CallRegister = "1"; f.MainPM = "2"; f.AuxPM = "3"; f.OrigType = "4"; f.TermType = "5";
    f.OrigTN = "6"; f.TermTN = "7"; f.Queue = "8"; f.CRLink = "9"; f.CRBakLink = "10";
    f.AuxCR = "11"; f.CRDialed = "12"; f.DigitLoad = "13"; f.DigitUnload = "14"; f.DigsDialed = "15";
    const ResultCaptions expected{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
                                  "11", "12", "13", "14", "15"};
    EXPECT_EQ(CaptionsInLabelOrder(f), expected);
}

TEST(BuildReport, EmptyCaptionsGiveTheLabelsAlone) {
    EXPECT_EQ(BuildReport(ResultCaptions{}),
              "Call Register: \r\n"
              "Main PM: \r\n"
              "AUX PM: \r\n"
              "Orig Type: \r\n"
              "Term Type: \r\n"
              "Orig TN: \r\n"
              "Term TN: \r\n"
              "Queue: \r\n"
              "CR Fwd Link: \r\n"
              "CR Bak Link: \r\n"
              "Aux CR: \r\n"
              "CR Dialed: \r\n"
              "Digit Load: \r\n"
              "Digit Unload: \r\n"
              "Digits Dialed: \r\n");
}

TEST(BuildReport, WorkedExampleCaptionsUnchanged) {
    const DecodedFields f = DecodeText(
        "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 "
        "00000000 00000000 000003E5 0000B1A3");
    EXPECT_EQ(BuildReport(CaptionsInLabelOrder(f)),
              "Call Register: 0008F5B4\r\n"
              "Main PM: READY\r\n"
              "AUX PM: DISA_READY\r\n"
              "Orig Type: XTD_UNIT\r\n"
              "Term Type: UNKNOWN\r\n"
              "Orig TN: Use LD 32 to Convert TN H.0421\r\n"
              "Term TN: Use LD 32 to Convert TN H.0422\r\n"
              "Queue: QU_IDLE\r\n"
              "CR Fwd Link: 00090010\r\n"
              "CR Bak Link: 00090020\r\n"
              "Aux CR: 00000000\r\n"
              "CR Dialed: 00000000\r\n"
              "Digit Load: H.00101 (DEC: 5)\r\n"
              "Digit Unload: H.11111 (DEC: 31)\r\n"
              "Digits Dialed: 301B\r\n");
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
