// SPDX-License-Identifier: MIT
#pragma once
// The data words 1..30 as views: the one place where a text is cut into words. A word that
// needs no change is a view of the text, and no bit string is made; the decoder makes the bit
// characters a cut reaches. ReadDataWords fills the window's arrays from these views; words
// that are already in arrays are taken as views of them, bit strings and all.

#include <array>
#include <string>
#include <string_view>

#include "decoder/decoder.h"

namespace quillmark {

class WordViews {
public:
    WordViews() = default;
    // Finds the words of `text`, forgetting those of the text before. The views point into
    // `text` (or into this object): both must outlive them.
    void Read(std::string_view text);
    // Takes the words and bit strings of the arrays (filled by hand, they may hold any bytes:
    // those that are not valid UTF-8 are read as U+FFFD). The views point into `words`.
    void Take(const DataWords& words);
    WordViews(const WordViews&) = delete;
    WordViews& operator=(const WordViews&) = delete;

    // Always valid UTF-8; empty for slot 0 and for words the text does not reach.
    std::string_view operator[](int word) const { return words_[static_cast<std::size_t>(word)]; }
    // After Take: the bit string of a word. After Read there is none.
    bool HasBits() const { return hasBits_; }
    std::string_view Bits(int word) const { return bits_[static_cast<std::size_t>(word)]; }

private:
    std::array<std::string_view, kLastWord + 1> words_{};
    std::array<std::string_view, kLastWord + 1> bits_{};
    bool hasBits_ = false;
    std::string rewritten_;  // words that held a line break or a byte that is not ASCII
    std::array<std::string, 2 * (kLastWord + 1)> sanitized_;  // taken texts that were not UTF-8
};

}  // namespace quillmark
