// SPDX-License-Identifier: MIT
#pragma once
// Toolkit-free decoding of the call register dump of a BUG message.
//
// Text is UTF-8 throughout. Positions count characters (code points), not bytes; bytes that
// are not valid UTF-8 become U+FFFD, so every text this library returns is valid UTF-8.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "decoder/field_catalogue.h"

namespace quillmark {

// ---- Data words and bit strings -------------------------------------------------------------

using WordArray = std::array<std::string, kLastWord + 1>;  // slot 0 stays empty

struct DataWords {
    WordArray HexWords;  // word k exactly as typed
    WordArray BinWords;  // bit string of word k: Binary() of each of its characters
};

class TextLayout;

// Reads the words of a message that arrives in pieces (a stream). Feed() takes the next piece
// and returns false once word 30 is complete and nothing further can change the words; Finish()
// ends the text. The pieces are joined, so a character split across two is joined too; the words
// are read from the joined text as ReadDataWords reads them, and the layout of that text stays
// for the caller (sources, spans, notes) until the reader goes.
class DataWordReader {
public:
    explicit DataWordReader(DataWords& words);
    ~DataWordReader();
    bool Feed(std::string_view piece);
    void Finish();
    bool Complete() const { return complete_; }
    // Once complete: the text kept (up to the space that ends word 30) and its layout.
    std::string_view Text() const { return text_; }
    const TextLayout& Layout() const { return *layout_; }

private:
    DataWords& words_;
    std::string text_;  // the pieces so far, up to the space that ends word 30
    std::size_t spacesLeft_ = kLastWord;
    bool complete_ = false;
    std::unique_ptr<TextLayout> layout_;
};

// Cuts text into words 1..30: every space ends a word, CR and LF are dropped, everything else
// belongs to its word. The caller resets the arrays first.
void ReadDataWords(std::string_view text, DataWords& words);

std::string Binary(std::string_view charArg);  // "0".."F" -> 4 bits, "" -> "", else "ERROR"
int BinVal(std::string_view charArg);          // first five characters, weights 16 8 4 2 1
std::string MidText(std::string_view s, std::size_t start, std::size_t length);  // 1-based, clips
std::string RightText(std::string_view s, std::size_t count);                    // clips

// ---- Field decoder ---------------------------------------------------------------------------

// A decoded record: each field's shown text, and for a looked-up field (HasCode) the code it
// was named from, as cut from its word; indexed by Field.
struct DecodedFields {
    std::array<std::string, kFieldCount> texts{};
    std::array<std::string, kFieldCount> codes{};  // empty for the fields without a code
    bool PointersDiffer = false;

    std::string& operator[](Field field) { return texts[IndexOf(field)]; }
    const std::string& operator[](Field field) const { return texts[IndexOf(field)]; }
    const std::string& Code(Field field) const { return codes[IndexOf(field)]; }
};

// The record of the words; words filled by hand may hold any bytes (shown as valid UTF-8).
DecodedFields DecodeCallRegister(const DataWords& words);
DecodedFields DecodeText(std::string_view text);  // as ReadDataWords and DecodeCallRegister

// ---- Name lookups (exact, case-sensitive; fallback as noted) ---------------------------------

std::string_view MainPMName(std::string_view code);                               // "UNDEFINED"
std::string_view AuxPMName(std::string_view mainCode, std::string_view auxCode);  // "UNKNOWN" / ""
std::string_view UnitTypeName(std::string_view code);                             // "UNKNOWN"
std::string_view QueueName(std::string_view code);                                // "UNKNOWN"
// The same for codes given as their values (two hexadecimal digits read as a byte; five bit
// characters read as a number below 32), as a word of eight digits gives them.
std::string_view MainPMNameAt(std::uint8_t value);
std::string_view AuxPMNameAt(std::uint8_t mainValue, std::uint8_t auxValue);
std::string_view UnitTypeNameAt(std::uint8_t value);
std::string_view QueueNameAt(std::uint8_t value);

// ---- Result captions, report and text tools --------------------------------------------------

// The result captions in result label order, indexed by Field.
using ResultCaptions = std::array<std::string, kFieldCount>;
ResultCaptions CaptionsInLabelOrder(const DecodedFields& fields);

// The clipboard report: one line per caption, label text + caption + CR LF.
std::string BuildReport(const ResultCaptions& captions);

// Everything up to and including the first space (character 32 only) removed; no space: unchanged.
std::string TrimFirstWord(std::string_view text);

}  // namespace quillmark
