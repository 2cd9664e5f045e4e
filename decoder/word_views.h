// SPDX-License-Identifier: MIT
#pragma once
// The data words 1..30 of a text as views, for decoding many messages quickly: a word that
// needs no change is not copied, and no bit string is made. Word k is, character for
// character, slot k of HexWords after ReadDataWords of the same text.

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
    WordViews(const WordViews&) = delete;
    WordViews& operator=(const WordViews&) = delete;

    // Always valid UTF-8; empty for slot 0 and for words the text does not reach.
    std::string_view operator[](int word) const { return words_[static_cast<std::size_t>(word)]; }

private:
    std::array<std::string_view, kLastWord + 1> words_{};
    std::string rewritten_;  // words that held a line break or a byte that is not ASCII
};

}  // namespace quillmark
