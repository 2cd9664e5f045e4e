// SPDX-License-Identifier: MIT
// Field and word positions in the message text, walked with the word reader's rules.

#include "decoder/text_spans.h"

#include <algorithm>
#include <limits>

#include "decoder/bits.h"
#include "decoder/decoder.h"
#include "decoder/provenance.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kWordWidth = 8;

// Where one word stands in the text and what it holds, as the reader sees it.
struct WordPlace {
    bool present = false;
    std::size_t beganAt = kNone;  // the space before the word; none for word 1
    std::size_t endedAt = kNone;  // the space after the word; none for the last word
    std::size_t count = 0;        // characters, line breaks not counted
    std::vector<TextSpan> runs;   // its characters, split where a line break stands between
    bool lineBreak = false;       // a line break stands somewhere after the space before it
    bool breakPending = false;    // a line break follows its last character so far
    bool joinedByBreak = false;   // a line break stands between two of its characters
    std::size_t tabs = 0;
    bool lowerDigit = false;
    bool upperLetter = false;
    std::size_t otherIndex = 0;  // 1-based index of its first character that is no hex digit
    char32_t otherChar = 0;
};

struct Layout {
    std::array<WordPlace, kLastWord + 1> words;  // slot 0 stays empty
    std::size_t length = 0;                      // characters read, up to the end of word 30
    bool anyCharacter = false;                   // something other than line breaks
};

char32_t CodePoint(std::string_view text, utf8::Scan scan) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (scan.status != utf8::Status::Valid) return 0xFFFD;
    switch (scan.size) {
        case 1: return byte(0);
        case 2: return ((byte(0) & 0x1FU) << 6) | (byte(1) & 0x3FU);
        case 3: return ((byte(0) & 0x0FU) << 12) | ((byte(1) & 0x3FU) << 6) | (byte(2) & 0x3FU);
        default:
            return ((byte(0) & 0x07U) << 18) | ((byte(1) & 0x3FU) << 12) |
                   ((byte(2) & 0x3FU) << 6) | (byte(3) & 0x3FU);
    }
}

void AddCharacter(WordPlace& word, std::size_t position, char32_t c) {
    if (word.breakPending) word.joinedByBreak = true;
    word.breakPending = false;
    if (word.runs.empty() || word.runs.back().end() != position)
        word.runs.push_back({position, 1});
    else
        ++word.runs.back().length;
    ++word.count;
    const bool digit = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (c >= 'A' && c <= 'F') word.upperLetter = true;
    if (c >= 'a' && c <= 'f') word.lowerDigit = true;
    if (c == '\t') ++word.tabs;
    if (!digit && !(c >= 'a' && c <= 'f') && c != '\t' && word.otherIndex == 0) {
        word.otherIndex = word.count;
        word.otherChar = c;
    }
}

// One pass over the text with the reader's rules: every space ends a word, CR and LF are
// dropped, everything else belongs to its word; reading stops where word 31 would begin.
Layout LayoutOf(std::string_view text) {
    Layout layout;
    int k = 1;
    layout.words[1].present = true;
    std::size_t position = 0;
    for (std::size_t i = 0; i < text.size(); ++position) {
        const char c = text[i];
        if (c == ' ') {
            layout.anyCharacter = true;
            layout.words[static_cast<std::size_t>(k)].endedAt = position;
            if (++k > kLastWord) break;
            WordPlace& next = layout.words[static_cast<std::size_t>(k)];
            next.present = true;
            next.beganAt = position;
            ++i;
        } else if (c == '\r' || c == '\n') {
            WordPlace& word = layout.words[static_cast<std::size_t>(k)];
            word.lineBreak = true;
            word.breakPending = word.count > 0;
            ++i;
        } else {
            layout.anyCharacter = true;
            const std::string_view rest = text.substr(i);
            const utf8::Scan scan = static_cast<unsigned char>(c) < 0x80
                                        ? utf8::Scan{utf8::Status::Valid, 1}
                                        : utf8::ScanChar(rest);
            AddCharacter(layout.words[static_cast<std::size_t>(k)], position,
                         CodePoint(rest, scan));
            i += scan.size;
        }
    }
    layout.length = position;
    return layout;
}

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += utf8::CharSize(text.substr(pos))) ++count;
    return count;
}

// Characters [first, first + count) of a word, 0-based.
struct CharRange {
    std::size_t first = 0;
    std::size_t count = 0;
};

// The characters of a word whose bit characters meet bit characters [start, start + length)
// (1-based) of its bit string: four bits per hexadecimal digit, five ("ERROR") for any other.
CharRange DigitsHoldingBits(std::string_view word, std::size_t start, std::size_t length) {
    const std::size_t cutFirst = start - 1;
    const std::size_t cutEnd = cutFirst + length;
    CharRange range{kNone, 0};
    std::size_t bit = 0;
    std::size_t index = 0;
    for (std::size_t pos = 0; pos < word.size() && bit < cutEnd; ++index) {
        const std::size_t size = utf8::CharSize(word.substr(pos));
        const std::size_t width = size == 1 ? BitsOfByte(word[pos]).size() : kNotHexBits.size();
        if (bit + width > cutFirst) {
            if (range.first == kNone) range.first = index;
            ++range.count;
        }
        bit += width;
        pos += size;
    }
    if (range.first == kNone) return {};
    return range;
}

// Adds the text runs of characters `range` of a word.
void AddRuns(const WordPlace& word, CharRange range, std::vector<TextSpan>& out) {
    std::size_t index = 0;  // word index of the run's first character
    const std::size_t end = range.first + range.count;
    for (const TextSpan& run : word.runs) {
        const std::size_t from = std::max(index, range.first);
        const std::size_t to = std::min(index + run.length, end);
        if (from < to) out.push_back({run.start + (from - index), to - from});
        index += run.length;
        if (index >= end) break;
    }
}

std::string Plural(std::size_t count, std::string_view one) {
    return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

// A visible ASCII character in quotes; quotes, markup characters and everything else by code
// point, so that a note never carries markup into a tooltip or a screen reader.
std::string CharacterName(char32_t c) {
    if (c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '&') {
        std::string quoted(3, '"');
        quoted[1] = static_cast<char>(c);
        return quoted;
    }
    // "U+" and the code point in upper-case hexadecimal, at least four digits; written by hand,
    // as a formatting call would bring the whole of printf into the web page's module.
    std::string name = "U+";
    int shift = 28;
    while (shift > 12 && (c >> shift) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) name += "0123456789ABCDEF"[(c >> shift) & 0xF];
    return name;
}

// What is wrong with a word, or nothing when it is eight upper-case hexadecimal digits.
std::string Problem(int k, const WordPlace& word) {
    const std::string subject = "word " + std::to_string(k);
    if (word.count == 0) {
        if (k == 1) return subject + " is empty: the text starts with a space";
        if (word.endedAt == kNone) return subject + " is empty: the text ends with a space";
        if (word.lineBreak)
            return subject + " is empty: a line ends with a space and the next begins with one";
        return subject + " is empty: two spaces in a row";
    }
    if (word.tabs > 0)
        return subject + " holds " +
               (word.tabs == 1 ? std::string("a tab") : Plural(word.tabs, "tab")) +
               ": only spaces separate words";
    if (word.count != kWordWidth && word.joinedByBreak)
        return subject + " has " + Plural(word.count, "character") +
               ": two words joined by a line break?";
    if (word.otherIndex != 0)
        return subject + ", character " + std::to_string(word.otherIndex) + " is " +
               CharacterName(word.otherChar) + ": not a hexadecimal digit";
    if (word.count != kWordWidth)
        return subject + " has " + Plural(word.count, "character") + ", not " +
               std::to_string(kWordWidth);
    if (word.lowerDigit)
        return subject + (word.upperLetter ? " has lower-case digits" : " is in lower case") +
               ": only upper-case digits are read";
    return {};
}

}  // namespace

FieldSpans SpansOf(std::string_view text) {
    const Layout layout = LayoutOf(text);
    DataWords words;
    ReadDataWords(text, words);
    const FieldSources sources = SourcesOf(words);

    FieldSpans spans;
    for (const FieldRow& row : kFields) {
        std::vector<TextSpan>& out = spans[IndexOf(row.field)];
        const auto place = [&](int word) -> const WordPlace& {
            return layout.words[static_cast<std::size_t>(word)];
        };
        if (row.shown == Shown::DialedDigits) {
            // Every digit word was read, also those whose digits were all "0" and that therefore
            // have no source.
            for (int word = row.word; word <= row.lastWord; ++word) {
                const std::string& typed = words.HexWords[static_cast<std::size_t>(word)];
                const std::size_t length = CharCount(CutOf(typed, row.cut));
                if (length > 0) AddRuns(place(word), {row.cut.start - 1, length}, out);
            }
            continue;
        }
        for (const Source& source : sources[IndexOf(row.field)]) {
            if (source.length == 0) continue;
            const CharRange range =
                source.of == From::Bits
                    ? DigitsHoldingBits(words.HexWords[static_cast<std::size_t>(source.word)],
                                        source.start, source.length)
                    : CharRange{source.start - 1, source.length};
            AddRuns(place(source.word), range, out);
        }
    }
    return spans;
}

FieldSet FieldsIn(const FieldSpans& spans, std::size_t start, std::size_t end) {
    FieldSet fields;
    for (std::size_t i = 0; i < spans.size(); ++i)
        for (const TextSpan& span : spans[i])
            if (span.start < end && start < span.end()) {
                fields.set(i);
                break;
            }
    return fields;
}

FieldSet FieldsAtCaret(const FieldSpans& spans, std::size_t position) {
    const FieldSet after = FieldsIn(spans, position, position + 1);
    if (after.any() || position == 0) return after;
    return FieldsIn(spans, position - 1, position);
}

std::vector<WordNote> WordNotesOf(std::string_view text) {
    const Layout layout = LayoutOf(text);
    std::vector<WordNote> notes;
    if (!layout.anyCharacter) return notes;
    for (int k = 1; k <= kLastWord; ++k) {
        const WordPlace& word = layout.words[static_cast<std::size_t>(k)];
        if (!word.present) break;
        std::string problem = Problem(k, word);
        if (problem.empty()) continue;
        WordNote note{k, {}, std::move(problem), {}};
        if (word.count == 0) {
            note.span = {word.endedAt == kNone ? layout.length : word.endedAt, 0};
            note.mark =
                word.endedAt != kNone ? TextSpan{word.endedAt, 1} : TextSpan{word.beganAt, 1};
        } else {
            const std::size_t first = word.runs.front().start;
            note.span = {first, word.runs.back().end() - first};
            note.mark = note.span;
        }
        notes.push_back(std::move(note));
    }
    return notes;
}

const WordNote* NoteAt(const std::vector<WordNote>& notes, std::size_t position) {
    for (const WordNote& note : notes)
        if (note.mark.contains(position)) return &note;
    return nullptr;
}

}  // namespace quillmark
