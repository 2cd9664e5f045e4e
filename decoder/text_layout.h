// SPDX-License-Identifier: MIT
#pragma once
// The one reading of a message text: where each data word 1..30 stands in the text and what it
// holds. Every reader of a dump reads this object: the decoder (RecordView), the window's word
// arrays (ReadDataWords, DataWordReader), the sources (SourcesOf), the spans and word notes
// (SpansOf, WordNotesOf), the window's marks and quillmark-decode's --explain.
//
// Building one:
//     TextLayout layout;
//     layout.Read(text);   // cuts the text into words once; reading again forgets the text
//     layout[3];           // word 3 as the word reader writes it (valid UTF-8)
//     layout.Place(3);     // where word 3 stands: characters, runs, lines, its first fault
// The text must outlive the layout's views (a word that needs no change is a view of it). Read
// looks at nothing after the space that ends word 30. Places are worked out from that one cut
// the first time one is asked for, so a caller that only decodes never pays for them.
//
// What the positions count:
//   - `byte`: bytes of the text given to Read, from 0;
//   - `start`, `length`, `column`, and every character position: characters (code points) of
//     that text, from 0, line breaks (CR, LF) included although the words drop them; a byte
//     sequence that is not UTF-8 counts as one character per maximal broken sequence, as the
//     word reader reads it;
//   - `line`: line feeds in the text before the position (0 on its first line); `column`:
//     characters since the last line feed before it (since the start of the text on line 0).
// A caller that took the text from a longer one (a dump from line L of a log, starting at
// character C of that line) adds L to every line, and C to the columns on line 0.

#include <array>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/decoder.h"

namespace quillmark {

inline constexpr std::size_t kNoPlace = std::numeric_limits<std::size_t>::max();

// Characters of a word that no line break splits.
struct WordRun {
    std::size_t byte = 0;    // its first byte
    std::size_t bytes = 0;   // its bytes
    std::size_t start = 0;   // its first character
    std::size_t length = 0;  // its characters
    std::size_t line = 0;    // line feeds before it
    std::size_t column = 0;  // characters between the last line feed before it and it

    std::size_t end() const { return start + length; }
    friend bool operator==(const WordRun&, const WordRun&) = default;
};

// A character of a word that is not what a dump holds.
struct WordFault {
    std::size_t index =
        0;  // 1-based among the word's characters (line breaks not counted); 0: none
    char32_t character = 0;
};

// Where one word stands and what it holds.
struct WordPlace {
    bool present = false;  // the text reaches it: word 1, or a space has ended the word before
    // Its first character; for an empty word where it would stand: the space that ends it, or
    // the end of what was read.
    std::size_t start = 0;
    std::size_t spaceBefore = kNoPlace;  // the space that ends the word before; none for word 1
    std::size_t spaceAfter = kNoPlace;   // the space that ends it; none when the text ends first
    std::size_t count = 0;               // its characters, line breaks not counted
    std::vector<WordRun> runs;           // its characters in text order, split at line breaks
    WordFault fault;    // the first character that is not an upper-case hexadecimal digit
    WordFault foreign;  // the first that is not a hexadecimal digit of either case nor a tab
    std::size_t tabs = 0;
    bool lowerDigit = false;     // holds one of "a" to "f"
    bool upperLetter = false;    // holds one of "A" to "F"
    bool lineBreak = false;      // a line break stands between the space before it and its end
    bool joinedByBreak = false;  // a line break stands between two of its characters
};

class TextLayout {
public:
    TextLayout() = default;
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // Cuts `text` into words 1..30: every space ends a word, CR and LF are dropped, everything
    // else belongs to its word.
    void Read(std::string_view text);
    // Reads a text that is known to be words of eight upper-case hexadecimal digits joined by
    // single spaces (at most 30 of them; an empty text is one empty word): the layout Read
    // gives, without looking at the text. EightDigitWords() is true after it.
    void ReadEightDigitWords(std::string_view text);
    // Takes the words and bit strings of the arrays (filled by hand, they may hold any bytes:
    // those that are not valid UTF-8 are read as U+FFFD). The views point into `words`. There
    // is no text then, and no place.
    void Take(const DataWords& words);

    // Always valid UTF-8; empty for slot 0 and for words the text does not reach.
    std::string_view operator[](int word) const { return words_[Slot(word)]; }
    // After Take: the bit string of a word. After Read there is none.
    bool HasBits() const { return hasBits_; }
    std::string_view Bits(int word) const { return bits_[Slot(word)]; }

    // The text last read; empty after Take.
    std::string_view Text() const { return text_; }
    // Every word the text reaches is eight upper-case hexadecimal digits, as its reader knew
    // (ReadEightDigitWords); false after Read and Take, which do not look.
    bool EightDigitWords() const { return eightDigits_; }
    // How many words the text reaches (1..30 after Read, 0 after Take).
    int WordCount() const { return wordCount_; }
    // The bytes of the text that were read: through the space that ends word 30, or all.
    std::size_t BytesRead() const { return bytesRead_; }

    // After Read: the place of word 1..30 (not present beyond WordCount()).
    const WordPlace& Place(int word) const {
        if (!placed_) FindPlaces();
        return places_[Slot(word)];
    }
    // Characters of what was read: up to the space that ends word 30, or the whole text.
    std::size_t Length() const {
        if (!placed_) FindPlaces();
        return length_;
    }
    // Whether what was read holds a character other than line breaks.
    bool AnyCharacter() const {
        if (!placed_) FindPlaces();
        return anyCharacter_;
    }

private:
    static std::size_t Slot(int word) { return static_cast<std::size_t>(word); }
    void FindPlaces() const;

    std::string_view text_;
    int wordCount_ = 0;
    int spaces_ = 0;  // spaces that ended a word: WordCount() - 1, or 30 once word 30 ended
    std::size_t bytesRead_ = 0;
    std::array<std::string_view, kLastWord + 1> words_{};
    int filled_ = kLastWord;  // slots past it hold empty views (after ReadEightDigitWords)
    // Each word's bytes, line breaks and all; after ReadEightDigitWords the words themselves are.
    std::array<std::string_view, kLastWord + 1> raw_{};
    std::array<std::string_view, kLastWord + 1> bits_{};
    bool hasBits_ = false;
    bool eightDigits_ = false;
    std::string rewritten_;  // words that held a line break or a byte that is not ASCII
    std::array<std::string, 2 * (kLastWord + 1)> sanitized_;  // taken texts that were not UTF-8

    // Worked out on first use from the cut above (one object is read by one thread at a time).
    mutable bool placed_ = true;
    mutable std::array<WordPlace, kLastWord + 1> places_{};
    mutable std::size_t length_ = 0;
    mutable bool anyCharacter_ = false;
};

// Appends the words of a layout to the window's arrays, and their bit strings: what
// ReadDataWords does with the layout of its text. The caller resets the arrays first.
void AppendWords(const TextLayout& layout, DataWords& words);

}  // namespace quillmark
