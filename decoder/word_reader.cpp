// SPDX-License-Identifier: MIT
// Cutting the pasted text into data words 1..30 and their bit strings.

#include <algorithm>

#include "decoder/bits.h"
#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

// An ASCII character that belongs to its word: neither a space nor a line break.
bool IsPlainAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != ' ' && c != '\r' && c != '\n';
}

// Adds a run of such characters to a word and its bit string.
void AppendAscii(DataWords& words, int word, std::string_view run) {
    words.HexWords[static_cast<std::size_t>(word)] += run;
    std::string& bits = words.BinWords[static_cast<std::size_t>(word)];
    // Room for the worst case ("ERROR" per character), written in place, then cut to size.
    const std::size_t start = bits.size();
    bits.resize(start + kNotHexBits.size() * run.size());
    char* out = bits.data() + start;
    for (char c : run) {
        const std::string_view b = BitsOfByte(c);
        out = std::copy(b.begin(), b.end(), out);
    }
    bits.resize(static_cast<std::size_t>(out - bits.data()));
}

// A multi-byte character (or U+FFFD for a broken one) is never a hexadecimal digit.
void AppendWide(DataWords& words, int word, std::string_view text, utf8::Scan scan) {
    utf8::AppendChar(words.HexWords[static_cast<std::size_t>(word)], text, scan);
    words.BinWords[static_cast<std::size_t>(word)] += kNotHexBits;
}

}  // namespace

DataWordReader::DataWordReader(DataWords& words) : words_(words) {}

bool DataWordReader::Complete() const { return word_ > kLastWord; }

bool DataWordReader::Feed(std::string_view piece) {
    if (Complete()) return false;
    std::size_t i = 0;

    // Finish a character that the previous piece began, one byte at a time: it either
    // completes, stays unfinished (short piece), or breaks at the byte just added, which
    // then goes back to the piece to be read as the start of what follows.
    while (!pending_.empty() && i < piece.size()) {
        pending_ += piece[i++];
        const utf8::Scan scan = utf8::ScanChar(pending_);
        if (scan.status == utf8::Status::Truncated) continue;
        if (scan.status == utf8::Status::Invalid) --i;
        AppendWide(words_, word_, pending_, scan);
        pending_.clear();
    }
    if (!pending_.empty()) return true;

    while (i < piece.size()) {
        const char c = piece[i];
        if (c == ' ') {
            // Every space ends a word; once word 30 is over nothing later can matter.
            if (++word_ > kLastWord) return false;
            ++i;
        } else if (c == '\r' || c == '\n') {
            ++i;  // line breaks are dropped without ending the word
        } else if (static_cast<unsigned char>(c) < 0x80) {
            // Fast path: a run of plain ASCII characters goes in at once.
            std::size_t end = i + 1;
            while (end < piece.size() && IsPlainAscii(piece[end])) ++end;
            AppendAscii(words_, word_, piece.substr(i, end - i));
            i = end;
        } else {
            const std::string_view rest = piece.substr(i);
            const utf8::Scan scan = utf8::ScanChar(rest);
            if (scan.status == utf8::Status::Truncated) {
                pending_.assign(rest);  // the next piece completes or breaks it
                return true;
            }
            AppendWide(words_, word_, rest, scan);
            i += scan.size;
        }
    }
    return true;
}

void DataWordReader::Finish() {
    // A character cut off by the end of the text is shown as one replacement character.
    if (!pending_.empty() && !Complete())
        AppendWide(words_, word_, pending_, utf8::Scan{utf8::Status::Invalid, pending_.size()});
    pending_.clear();
}

void ReadDataWords(std::string_view text, DataWords& words) {
    DataWordReader reader(words);
    reader.Feed(text);
    reader.Finish();
}

}  // namespace quillmark
