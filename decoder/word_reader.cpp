// SPDX-License-Identifier: MIT
// The window's word arrays: the words of the text's layout, and the bit string of each.

#include "decoder/bits.h"
#include "decoder/byte_scan.h"
#include "decoder/decoder.h"
#include "decoder/text_layout.h"

namespace quillmark {

void AppendWords(const TextLayout& layout, DataWords& words) {
    for (int k = 1; k <= kLastWord; ++k) {
        const std::string_view word = layout[k];
        const auto slot = static_cast<std::size_t>(k);
        words.HexWords[slot] += word;
        AppendBits(words.BinWords[slot], word);
    }
}

void ReadDataWords(std::string_view text, DataWords& words) {
    TextLayout layout;
    layout.Read(text);
    AppendWords(layout, words);
}

DataWordReader::DataWordReader(DataWords& words) : words_(words) {}

DataWordReader::~DataWordReader() = default;

bool DataWordReader::Feed(std::string_view piece) {
    if (complete_) return false;
    // Every space ends a word: the text is kept up to the space that ends word 30, after which
    // nothing can change the words.
    const std::size_t through = bytes::ThroughNthByte(piece, ' ', spacesLeft_);
    text_ += piece.substr(0, through);
    if (spacesLeft_ > 0) return true;
    Finish();
    return false;
}

void DataWordReader::Finish() {
    // A text that ends before word 30 is read as it stands.
    if (complete_) return;
    complete_ = true;
    layout_ = std::make_unique<TextLayout>();
    layout_->Read(text_);
    AppendWords(*layout_, words_);
}

}  // namespace quillmark
