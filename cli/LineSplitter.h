// SPDX-License-Identifier: MIT
#pragma once
// Splits the blocks of an input into lines at each line feed: hands each line's text to the
// cutter, which keeps what decoding needs in the pipeline's line, and ends each line there.
// A carriage return before the line feed stays in the line, where the decoder drops it.

#include <string>
#include <string_view>

#include "cli/LinePipeline.h"
#include "cli/MessageCutter.h"

namespace quillmark::cli {

class LineSplitter {
public:
    LineSplitter(MessageCutter& cutter, LinePipeline& lines) : cutter_(cutter), lines_(lines) {}

    // The lines from here on belong to this input.
    void StartInput(const std::string& name);
    // Splits the next block of the input; false once the pipeline says to stop reading.
    bool Feed(std::string_view block);
    // Ends the input: a last line without a line feed is a line too.
    bool Finish();
    // Forgets the unfinished line (its input failed).
    void Abandon();

private:
    bool EndLine();

    MessageCutter& cutter_;
    LinePipeline& lines_;
    bool lineOpen_ = false;  // bytes of an unfinished line were seen
    bool wanted_ = true;     // the cutter still takes text of the current line
};

}  // namespace quillmark::cli
