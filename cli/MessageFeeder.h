#pragma once
// Feeds one message, piece by piece, to the word reader after dropping its leading words as
// the given number of "Trim Text" presses would.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "decoder/decoder.h"

namespace quillmark::cli {

class MessageFeeder {
public:
    MessageFeeder(DataWords& words, std::uint64_t skipWords);

    // Starts the next message: empties the word arrays and the words still to skip.
    void Restart();
    // Takes the next piece; false once the words are complete and further text changes nothing.
    bool Feed(std::string_view piece);
    // Ends the message; the arrays then hold its words.
    void Finish();

private:
    DataWords& words_;
    std::uint64_t skipWords_;
    std::uint64_t spacesToDrop_ = 0;
    // While words are being dropped: the text since the last space. A message with fewer
    // spaces than words to skip keeps that text, as "Trim Text" leaves a text without spaces.
    std::string sinceLastSpace_;
    std::optional<DataWordReader> reader_;
    bool complete_ = false;
};

}  // namespace quillmark::cli
