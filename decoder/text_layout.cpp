// SPDX-License-Identifier: MIT
// Cutting a text into words in place, and where each word stands. Plain ASCII words (the usual
// dump) are views of the text; a word with a line break or a byte that is not ASCII is
// rewritten the way the word reader writes it.

#include "decoder/text_layout.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "decoder/byte_scan.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The raw characters of one word as the reader writes them: line breaks dropped, a broken
// character as U+FFFD. A word ends at a space or at the end of the text, and neither can
// continue a character, so a character cut off at the end of the word is a broken one.
void AppendRewritten(std::string& out, std::string_view raw) {
    std::size_t pos = 0;
    while (pos < raw.size()) {
        const char c = raw[pos];
        if (IsLineBreak(c)) {
            ++pos;
        } else if (bytes::IsAsciiByte(c)) {
            out += c;
            ++pos;
        } else {
            const std::string_view rest = raw.substr(pos);
            const utf8::Scan scan = utf8::ScanChar(rest);
            utf8::AppendChar(out, rest, scan);  // U+FFFD for a broken or cut-off character
            pos += scan.size;
        }
    }
}

}  // namespace

void TextLayout::Take(const DataWords& words) {
    filled_ = kLastWord;
    hasBits_ = true;
    eightDigits_ = false;
    text_ = {};
    wordCount_ = 0;
    spaces_ = 0;
    bytesRead_ = 0;
    raw_ = {};
    placed_ = true;
    places_ = {};
    length_ = 0;
    anyCharacter_ = false;
    const auto view = [this](const std::string& text, std::size_t slot) -> std::string_view {
        if (utf8::IsValid(text)) return text;
        sanitized_[slot] = utf8::Sanitized(text);
        return sanitized_[slot];
    };
    for (std::size_t k = 0; k <= kLastWord; ++k) {
        words_[k] = view(words.HexWords[k], 2 * k);
        bits_[k] = view(words.BinWords[k], 2 * k + 1);
    }
}

void TextLayout::ReadEightDigitWords(std::string_view text) {
    constexpr std::size_t kStep = 9;  // eight digits and the space after them
    hasBits_ = false;
    eightDigits_ = true;
    text_ = text;
    placed_ = false;
    rewritten_.clear();
    const std::size_t count = std::max<std::size_t>((text.size() + 1) / kStep, 1);
    const char* const data = text.data();
    words_[1] = std::string_view(data, std::min(text.size(), kStep - 1));
    const char* word = data;
#pragma GCC unroll 4
    for (std::string_view *slot = &words_[2], *const last = &words_[count]; slot <= last; ++slot)
        *slot = std::string_view(word += kStep, kStep - 1);
    // The slots of a longer text read before are emptied; those past them are empty already.
    for (auto k = static_cast<int>(count) + 1; k <= filled_; ++k) words_[Slot(k)] = {};
    filled_ = static_cast<int>(count);
    wordCount_ = static_cast<int>(count);
    spaces_ = wordCount_ - 1;
    bytesRead_ = text.size();
}

void TextLayout::Read(std::string_view text) {
    filled_ = kLastWord;
    hasBits_ = false;
    eightDigits_ = false;
    text_ = text;
    placed_ = false;
    rewritten_.clear();
    // Words that need rewriting, by number and raw text; rare, so looked at after the scan.
    struct RawWord {
        int word;
        std::string_view raw;
    };
    std::array<RawWord, kLastWord> unplain;
    std::size_t unplainCount = 0;

    // Every space ends a word; once word 30 is over nothing later can matter. The bytes that
    // are not word characters are found sixteen at a time; in a plain dump they are the spaces.
    int word = 1;
    std::size_t begin = 0;
    bool plain = true;
    const auto endWord = [&](std::size_t end) {
        const std::string_view raw = text.substr(begin, end - begin);
        raw_[static_cast<std::size_t>(word)] = raw;
        if (plain) {
            words_[static_cast<std::size_t>(word)] = raw;
        } else {
            unplain[unplainCount++] = {word, raw};
            words_[static_cast<std::size_t>(word)] = {};
        }
    };
    const auto atByte = [&](std::size_t pos) {
        if (text[pos] != ' ') {
            plain = false;
            return true;
        }
        endWord(pos);
        begin = pos + 1;
        plain = true;
        return ++word <= kLastWord;
    };
    std::size_t pos = 0;
    bool reading = true;
    for (; reading && pos + 16 <= text.size(); pos += 16) {
        const bytes::WordBreaks found = bytes::FindWordBreaks(text.data() + pos);
        if (found.others == 0 && plain) {
            // Only spaces: each ends a plain word.
            for (std::uint32_t spaces = found.spaces; spaces != 0; spaces &= spaces - 1) {
                const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(spaces));
                const std::string_view raw(text.data() + begin, at - begin);
                words_[static_cast<std::size_t>(word)] = raw;
                raw_[static_cast<std::size_t>(word)] = raw;
                begin = at + 1;
                if (++word > kLastWord) {
                    reading = false;
                    break;
                }
            }
            continue;
        }
        for (std::uint32_t bytes = found.spaces | found.others; reading && bytes != 0;
             bytes &= bytes - 1)
            reading = atByte(pos + static_cast<std::size_t>(std::countr_zero(bytes)));
    }
    for (; reading && pos < text.size(); ++pos)
        if (bytes::IsWordBreakByte(text[pos])) reading = atByte(pos);
    if (reading) endWord(text.size());
    wordCount_ = reading ? word : kLastWord;
    spaces_ = reading ? word - 1 : kLastWord;
    bytesRead_ = reading ? text.size() : begin;
    // Words the text does not reach are empty.
    for (int k = wordCount_ + 1; k <= kLastWord; ++k) {
        words_[static_cast<std::size_t>(k)] = {};
        raw_[static_cast<std::size_t>(k)] = {};
    }

    // Rewritten words go into one buffer; their views are taken once it has stopped growing.
    std::array<std::size_t, kLastWord> rewrittenEnd;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        std::string_view raw = unplain[i].raw;
        // A line end after the word (a CR LF file) needs no copy.
        while (!raw.empty() && IsLineBreak(raw.back())) raw.remove_suffix(1);
        if (bytes::IsPlainWord(raw)) {
            words_[static_cast<std::size_t>(unplain[i].word)] = raw;
            rewrittenEnd[i] = 0;
            continue;
        }
        AppendRewritten(rewritten_, unplain[i].raw);
        rewrittenEnd[i] = rewritten_.size();
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        if (rewrittenEnd[i] == 0) continue;  // a view of the text after all
        words_[static_cast<std::size_t>(unplain[i].word)] =
            std::string_view(rewritten_).substr(from, rewrittenEnd[i] - from);
        from = rewrittenEnd[i];
    }
}

void TextLayout::FindPlaces() const {
    placed_ = true;
    places_ = {};
    std::size_t position = 0, line = 0, column = 0;
    anyCharacter_ = spaces_ > 0;
    for (int k = 1; k <= wordCount_; ++k) {
        WordPlace& place = places_[Slot(k)];
        place.present = true;
        if (k > 1) place.spaceBefore = position - 1;
        // Words that needed no rewriting are their raw bytes too.
        const std::string_view raw = eightDigits_ ? words_[Slot(k)] : raw_[Slot(k)];
        const auto firstByte = static_cast<std::size_t>(raw.data() - text_.data());
        bool breakPending = false;  // a line break follows its last character so far
        for (std::size_t i = 0; i < raw.size(); ++position) {
            const char c = raw[i];
            if (IsLineBreak(c)) {
                place.lineBreak = true;
                breakPending = place.count > 0;
                column = c == '\n' ? 0 : column + 1;
                line += c == '\n';
                ++i;
                continue;
            }
            const std::string_view rest = raw.substr(i);
            const utf8::Scan scan =
                bytes::IsAsciiByte(c) ? utf8::Scan{utf8::Status::Valid, 1} : utf8::ScanChar(rest);
            const char32_t character = utf8::CodePoint(rest, scan);
            place.joinedByBreak = place.joinedByBreak || breakPending;
            breakPending = false;
            if (place.runs.empty() || place.runs.back().end() != position) {
                place.runs.push_back({firstByte + i, scan.size, position, 1, line, column});
            } else {
                place.runs.back().bytes += scan.size;
                ++place.runs.back().length;
            }
            ++place.count;
            const bool upper = character < 0x80 && bytes::IsUpperHexDigit(static_cast<char>(c));
            const bool lower = character >= 'a' && character <= 'f';
            place.upperLetter = place.upperLetter || (upper && character >= 'A');
            place.lowerDigit = place.lowerDigit || lower;
            place.tabs += character == '\t';
            if (!upper && place.fault.index == 0) place.fault = {place.count, character};
            if (!upper && !lower && character != '\t' && place.foreign.index == 0)
                place.foreign = {place.count, character};
            ++column;
            i += scan.size;
        }
        place.start = place.runs.empty() ? position : place.runs.front().start;
        anyCharacter_ = anyCharacter_ || place.count > 0;
        if (k <= spaces_) {
            place.spaceAfter = position;
            if (k < kLastWord) ++position, ++column;
        }
    }
    length_ = position;
}

}  // namespace quillmark
