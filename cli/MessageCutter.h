// SPDX-License-Identifier: MIT
#pragma once
// Cuts from a message, piece by piece, the text that decoding it needs: its leading words
// dropped as the given number of "Trim Text" presses would, and nothing after word 30.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark::cli {

class MessageCutter {
public:
    explicit MessageCutter(std::uint64_t skipWords);

    // Starts the next message.
    void Restart();
    // Appends to `out` what decoding needs of the next piece; false once word 30 is complete
    // and the rest of the message can change nothing.
    bool Take(std::string_view piece, std::string& out);
    // Ends the message, appending what a message with fewer spaces than words to skip keeps.
    void Finish(std::string& out);

private:
    std::uint64_t skipWords_;
    std::uint64_t spacesToDrop_ = 0;
    int spacesToKeep_ = 0;
    // While words are being dropped: the text since the last space. "Trim Text" leaves a text
    // without spaces unchanged, so that is what remains when the spaces run out first.
    std::string sinceLastSpace_;
};

}  // namespace quillmark::cli
