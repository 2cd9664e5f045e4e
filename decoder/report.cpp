// SPDX-License-Identifier: MIT
// The clipboard report and the input text tool that drops the first word.

#include <array>

#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

// The report's own label texts, in report order; some differ from the captions on screen.
constexpr std::array<std::string_view, kResultCount> kReportLabels{
    "Call Register: ", "Main PM: ",     "AUX PM: ",     "Orig Type: ",  "Term Type: ",
    "Orig TN: ",       "Term TN: ",     "Queue: ",      "CR Fwd Link: ", "CR Bak Link: ",
    "Aux CR: ",        "CR Dialed: ",   "Digit Load: ", "Digit Unload: ", "Digits Dialed: ",
};

}  // namespace

ResultCaptions CaptionsInLabelOrder(const DecodedFields& f) {
    return {f.CallRegister, f.MainPM,    f.AuxPM, f.OrigType,  f.TermType,
            f.OrigTN,       f.TermTN,    f.Queue, f.CRLink,    f.CRBakLink,
            f.AuxCR,        f.CRDialed,  f.DigitLoad, f.DigitUnload, f.DigsDialed};
}

std::string BuildReport(const ResultCaptions& captions) {
    std::string report;
    for (std::size_t line = 0; line < kResultCount; ++line) {
        report += kReportLabels[line];
        report += utf8::Sanitized(captions[line]);
        report += "\r\n";
    }
    return report;
}

std::string TrimFirstWord(std::string_view text) {
    const auto space = text.find(' ');
    if (space == std::string_view::npos) return utf8::Sanitized(text);
    return utf8::Sanitized(text.substr(space + 1));
}

}  // namespace quillmark
