// SPDX-License-Identifier: MIT
// The window's word arrays: the words as WordViews finds them, and the bit string of each.

#include "decoder/bits.h"
#include "decoder/byte_scan.h"
#include "decoder/decoder.h"
#include "decoder/utf8.h"
#include "decoder/word_views.h"

namespace quillmark {

void ReadDataWords(std::string_view text, DataWords& words) {
    WordViews views;
    views.Read(text);
    for (int k = 1; k <= kLastWord; ++k) {
        const std::string_view word = views[k];
        const auto slot = static_cast<std::size_t>(k);
        words.HexWords[slot] += word;
        // Every character gives its four bits or "ERROR"; a character of more than one byte is
        // never a hexadecimal digit.
        std::string& bits = words.BinWords[slot];
        for (std::size_t pos = 0; pos < word.size(); pos += utf8::CharSize(word.substr(pos)))
            bits += bytes::IsAsciiByte(word[pos]) ? BitsOfByte(word[pos]) : kNotHexBits;
    }
}

DataWordReader::DataWordReader(DataWords& words) : words_(words) {}

bool DataWordReader::Feed(std::string_view piece) {
    if (complete_) return false;
    // Every space ends a word: the text is kept up to the space that ends word 30, after which
    // nothing can change the words.
    const std::size_t spaces = bytes::CountByte(piece, ' ');
    if (spaces_ + spaces < static_cast<std::size_t>(kLastWord)) {
        text_ += piece;
        spaces_ += spaces;
        return true;
    }
    std::size_t end = 0;
    for (std::size_t left = kLastWord - spaces_; left > 0; --left) end = piece.find(' ', end) + 1;
    text_ += piece.substr(0, end);
    complete_ = true;
    ReadDataWords(text_, words_);
    return false;
}

void DataWordReader::Finish() {
    // A text that ends before word 30 is read as it stands.
    if (!complete_) ReadDataWords(text_, words_);
    text_.clear();
}

}  // namespace quillmark
