// SPDX-License-Identifier: MIT
#pragma once
// Cuts from a message, piece by piece, the text that decoding it needs, as the window would
// hold it: its leading words dropped as the given number of "Trim Text" presses would, then at
// most as many characters as the window's input box holds, and nothing after word 30.
//
// Memory stays bounded whatever the message: words that are dropped are not kept, and of the
// rest no more than the input box's characters are kept.
//
// It counts spaces rather than reading words: it only finds where the kept text begins and
// ends, over a stream of pieces (bytes::ThroughNthByte), and leaves the words to the one
// reading of the kept text, TextLayout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark::cli {

// The most characters the window's input box holds; a longer paste is cut there.
inline constexpr std::size_t kInputBoxCharacters = 65536;

// Counts characters as the input box counts them, in UTF-16 units: a character beyond U+FFFF
// counts two, every other character one. Bytes that are not UTF-8 count as the decoder reads
// them: one replacement character per broken sequence. Keeps characters while they fit.
class CharacterBudget {
public:
    explicit CharacterBudget(std::size_t units) : limit_(units), left_(units) {}

    void Restart();
    // Appends to `out` the characters of `piece` while they fit; false once one does not fit,
    // which cuts the text before that character.
    bool Take(std::string_view piece, std::string& out);
    // Ends the text: a character left unfinished by its end counts as one; false if no room.
    bool Finish(std::string& out);

private:
    bool Keep(std::string_view character, std::size_t units, std::string& out);

    std::size_t limit_;
    std::size_t left_;
    std::array<char, 4> pending_{};  // the start of a character that the next piece completes
    std::size_t pendingSize_ = 0;
};

class MessageCutter {
public:
    explicit MessageCutter(std::uint64_t skipWords,
                           std::size_t characterLimit = kInputBoxCharacters);

    // Starts the next message.
    void Restart();
    // Appends to `out` what decoding needs of the next piece; false once nothing later can
    // change the decode: word 30 is complete, or the message was cut.
    bool Take(std::string_view piece, std::string& out);
    // Ends the message, appending what a message with fewer spaces than words to skip keeps.
    void Finish(std::string& out);

    // After Finish(), or once Take() returned false: the message was longer than the input box
    // holds before its word 30 ended, and was cut.
    bool WasCut() const { return cut_; }
    // Line feeds of the message before the cut: the cut falls on the line after that many.
    std::uint64_t LineFeedsBeforeCut() const { return droppedLineFeeds_ + keptLineFeeds_; }
    std::size_t CharacterLimit() const { return characterLimit_; }

private:
    bool Keep(std::string_view piece, std::string& out);

    std::uint64_t skipWords_;
    std::size_t characterLimit_;
    std::uint64_t spacesToDrop_ = 0;
    std::size_t spacesToKeep_ = 0;
    bool done_ = false;
    bool cut_ = false;
    CharacterBudget budget_;
    // While words are being dropped: the start of the text since the last space, as far as the
    // budget holds it. "Trim Text" leaves a text without spaces unchanged, so that is what
    // remains when the spaces run out first.
    std::string sinceLastSpace_;
    bool sinceLastSpaceCut_ = false;
    std::uint64_t heldLineFeeds_ = 0;     // line feeds since the last dropped space
    std::uint64_t droppedLineFeeds_ = 0;  // line feeds of the dropped words
    std::uint64_t keptLineFeeds_ = 0;     // line feeds of the kept text
};

}  // namespace quillmark::cli
