// SPDX-License-Identifier: MIT
#include "tests/cli/ExpectedOutput.h"

#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark::cli::test {

std::string WindowReport(std::string_view text) {
    const std::string report = BuildReport(CaptionsInLabelOrder(DecodeText(text)));
    std::string lf;
    for (std::size_t i = 0; i < report.size(); ++i)
        if (!(report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n')) lf += report[i];
    return lf;
}

std::string Trimmed(std::string text, unsigned long long presses) {
    for (; presses > 0; --presses) {
        std::string next = TrimFirstWord(text);
        if (next == text) break;  // no space left: further presses change nothing
        text = std::move(next);
    }
    return text;
}

std::size_t HeldBytes(std::string_view text, std::size_t limit) {
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const utf8::Scan scan = utf8::ScanChar(text.substr(at));
        units += scan.status == utf8::Status::Valid && scan.size == 4 ? 2 : 1;
        if (units > limit) break;
        at += scan.size;
    }
    return at;
}

std::string Pasted(std::string_view text) { return std::string(text.substr(0, HeldBytes(text))); }

std::string CutMessage(const std::string& file, unsigned long long line, std::size_t limit) {
    return "quillmark-decode: " + file + ":" + std::to_string(line) +
           ": message cut after its first " + std::to_string(limit) +
           " characters, as the window's input box would cut it\n";
}

}  // namespace quillmark::cli::test
