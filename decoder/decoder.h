// SPDX-License-Identifier: MIT
#pragma once
// Toolkit-free decoding of the call register dump of a BUG message.
//
// Text is UTF-8 throughout. Positions count characters (code points), not bytes; bytes that
// are not valid UTF-8 become U+FFFD, so every text this library returns is valid UTF-8.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace quillmark {

// ---- Data words and bit strings -------------------------------------------------------------

inline constexpr int kLastWord = 30;                       // words 1..30 are read and decoded
using WordArray = std::array<std::string, kLastWord + 1>;  // slot 0 stays empty

struct DataWords {
    WordArray HexWords;  // word k exactly as typed
    WordArray BinWords;  // bit string of word k: Binary() of each of its characters
};

// Reads the words of a message that arrives in pieces (a stream). Feed() takes the next piece
// and returns false once word 30 is complete and nothing further can change the words; Finish()
// ends the text. A character split across two pieces is joined, not replaced.
class DataWordReader {
public:
    explicit DataWordReader(DataWords& words);
    bool Feed(std::string_view piece);
    void Finish();
    bool Complete() const;

private:
    DataWords& words_;
    int word_ = 1;
    std::string pending_;  // bytes of a character that the next piece completes
};

// Cuts text into words 1..30: every space ends a word, CR and LF are dropped, everything else
// belongs to its word. The caller resets the arrays first.
void ReadDataWords(std::string_view text, DataWords& words);

std::string Binary(std::string_view charArg);  // "0".."F" -> 4 bits, "" -> "", else "ERROR"
int BinVal(std::string_view charArg);          // first five characters, weights 16 8 4 2 1
std::string MidText(std::string_view s, std::size_t start, std::size_t length);  // 1-based, clips
std::string RightText(std::string_view s, std::size_t count);                   // clips

// ---- Field decoder ---------------------------------------------------------------------------

// The raw codes handed to the name lookups, as cut from the words.
struct FieldCodes {
    std::string MainPM, AuxPM, TermType, OrigType, Queue;
};

struct DecodedFields {
    std::string CallRegister, MainPM, AuxPM, TermType, OrigType, OrigTN, TermTN, Queue, CRLink,
        CRBakLink, AuxCR, CRDialed, DigitLoad, DigitUnload, DigsDialed;
    bool PointersDiffer = false;
    FieldCodes Codes;
};

DecodedFields DecodeCallRegister(const DataWords& words);
DecodedFields DecodeText(std::string_view text);  // fresh arrays, ReadDataWords, decode

// The same record as DecodeText(text), written into `fields`: its texts keep their storage, and
// no word array or bit string is made. For decoding many messages one after another.
void DecodeText(std::string_view text, DecodedFields& fields);

// ---- Name lookups (exact, case-sensitive; fallback as noted) ---------------------------------

std::string_view MainPMName(std::string_view code);                              // "UNDEFINED"
std::string_view AuxPMName(std::string_view mainCode, std::string_view auxCode);  // "UNKNOWN" / ""
std::string_view UnitTypeName(std::string_view code);                            // "UNKNOWN"
std::string_view QueueName(std::string_view code);                               // "UNKNOWN"

// ---- Result captions, report and text tools --------------------------------------------------

inline constexpr int kResultCount = 15;
// The fifteen result captions in result label order, indexed by Field (decoder/field_catalogue.h).
using ResultCaptions = std::array<std::string, kResultCount>;
ResultCaptions CaptionsInLabelOrder(const DecodedFields& fields);

// The clipboard report: one line per caption, label text + caption + CR LF.
std::string BuildReport(const ResultCaptions& captions);
// The same lines for a decoded record, appended to `out`, each ended by `lineEnd` instead.
void AppendReport(std::string& out, const DecodedFields& fields, std::string_view lineEnd);

// Everything up to and including the first space (character 32 only) removed; no space: unchanged.
std::string TrimFirstWord(std::string_view text);

}  // namespace quillmark
