// SPDX-License-Identifier: MIT
#pragma once
// Finds the BUG messages in a console log, as it was captured, and hands out each one's dump
// ready to decode, with where every word of it stands in the log.
//
// A message starts at a line whose first word (after any spaces) is "BUG" and one or more
// decimal digits: its BUG word. Its dump is the words after the BUG word on that line, then
// every following line whose words are all one to eight hexadecimal digits (either case,
// spaces before, between and after). The dump ends at the first other line (a blank line, a
// prompt, a timestamp, another message, another BUG line) or at the end of the input. Every
// line that belongs to no message is counted and passed over.
//
// A dump is decoded as the window decodes its words joined by single spaces, so a line break
// between two lines of a dump separates words. Words past the 30th belong to the message and
// are counted, but not kept: the decoder reads words 1 to 30 only.
//
// The log is read as a stream of blocks of any size. Memory stays bounded whatever the log: a
// line that is passed over is not kept, and of a dump no more than its words 1 to 30 are kept,
// at most `characterLimit` characters (the window's input box); a longer one is cut there.
//
// A line ends at LF; a CR right before it, and a last line without LF, are taken as a line end
// too. Other bytes (NUL, CR elsewhere, bytes that are not UTF-8) belong to the word they stand
// in, as in the window. Columns count characters (code points) as the decoder counts them.
//
// Use:
//   LogReader reader([&](const LogMessage& message) {
//       record.Decode(message.text);  // a RecordView; or DecodeText(message.text)
//       ... message.line, message.bug, message.places, message.notes ...
//   });
//   for each block of the log: reader.Feed(block);
//   reader.Finish();                  // reader.Counts() then holds lines, messages, skipped
// A log already in memory: ReadLog(text, &counts) gives every message as a LogDump.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/field_catalogue.h"
#include "decoder/text_layout.h"

namespace quillmark {

// Where a word of a dump stands in the log: its line (1-based), its first character (0-based,
// in code points from the start of that line) and its length in characters. A dump word never
// runs over a line break: the line break ends it. `faulty` is the position, in characters from
// the word's start, of its first character that is not an upper-case hexadecimal digit, or -1.
struct LogWordPlace {
    std::uint64_t line = 0;
    std::size_t column = 0;
    std::size_t length = 0;
    int faulty = -1;
};

// A note on a dump: `word` is the word it is about (1..30), or 0 for the dump as a whole
// ("dump has 9 words: fields from word 10 on are empty").
struct LogNote {
    int word = 0;
    std::string text;
};

// One BUG message. The views and spans point into the reader: they hold during the call that
// hands the message out.
struct LogMessage {
    std::uint64_t line = 0;      // the line of the BUG word
    std::uint64_t lastLine = 0;  // the last line of the dump (the BUG word's line when alone)
    std::string_view bug;        // the BUG word as written
    // Words 1..30 joined by single spaces: the text to decode, as DecodeText or
    // RecordView::Decode take it.
    std::string_view text;
    std::uint64_t words = 0;               // the dump's words, those past the 30th included
    std::span<const LogWordPlace> places;  // words 1..min(words, 30), in word order
    std::span<const LogNote> notes;        // the dump's notes, then every word note, in order
    bool cut = false;  // the kept words were longer than the character limit and were cut
    // The words of `text` laid out as TextLayout::Read lays them out, where the reader could
    // do so from what it knows (words of eight upper-case hexadecimal digits, not cut); or null.
    const TextLayout* layout = nullptr;
};

// What a reader has seen of its input so far.
struct LogCounts {
    std::uint64_t lines = 0;         // every line, the last one without LF included
    std::uint64_t messages = 0;      // BUG messages handed out
    std::uint64_t skippedLines = 0;  // lines of no message
};

// The words a dump must have to fill every field: a dump with fewer gets a note.
inline constexpr int kWordsOfAFullDump = [] {
    int most = 0;
    for (const FieldRow& row : kFields) most = row.word > most ? row.word : most;
    return most;
}();

class LogReader {
public:
    using Handler = std::function<void(const LogMessage&)>;

    // `handler` is called once per message, in log order, as soon as its dump has ended.
    explicit LogReader(Handler handler, std::size_t characterLimit = 65536);
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // Reads the next block of the log.
    void Feed(std::string_view block);
    // Ends the log: a last line without LF is a line, and an open message is handed out.
    void Finish();
    // Starts another log, numbered from line 1 again, with counts from 0. With `linesBefore`,
    // the log goes on after that many lines read elsewhere: its first line is linesBefore + 1,
    // and Counts().lines counts them too (messages and skipped lines count from 0).
    void Restart(std::uint64_t linesBefore = 0);

    const LogCounts& Counts() const { return counts_; }

private:
    enum class Mode : std::uint8_t {
        Leading,   // spaces before the line's first word
        First,     // in the line's first word
        BugWords,  // after the BUG word: every word is a dump word
        HexWords,  // a line that continues the dump, as long as its words are hexadecimal
        Skip,      // a line of no message: passed over to its end
    };

    std::size_t UsualLine(std::string_view rest);
    void StartMessage(std::string_view bug);
    void WholeLine(std::string_view line);
    class LineMasks;
    void AsciiWords(std::string_view line, std::size_t from, const LineMasks& masks);
    void SpacedWords(std::string_view line, std::size_t from, std::size_t count);
    // Counts a line's `count` words (its first and last of these lengths) into the dump: how
    // many words came before them, and how many of them are kept (none past the last decoded).
    struct CountedWords {
        std::uint64_t before;
        std::size_t kept;
    };
    CountedWords CountLineWords(std::size_t count, std::size_t firstLength, std::size_t lastLength);
    void KeepWord(std::string_view word, bool ascii);
    void Take(char c);
    void TakeFirst(char c);
    void EndFirstWord();
    void MarkLine();
    void StartWord(std::size_t column);
    void Keep(char c);
    void KeepUnits(std::string_view bytes, std::size_t units);
    void EndWord();
    void EndLine();
    void CommitLine(std::uint64_t line);
    void RejectLine();
    void ResetLine();
    void Emit();

    Handler handler_;
    std::size_t characterLimit_;
    LogCounts counts_;

    // The current line.
    Mode mode_ = Mode::Leading;
    bool pendingCr_ = false;    // a CR that ends the line if LF follows
    bool lineSeen_ = false;     // a byte of the current line was seen
    std::size_t lineByte_ = 0;  // bytes of the current line so far
    std::string first_;         // its first word, as far as kept
    std::size_t firstLength_ = 0;
    std::size_t firstStart_ = 0;
    bool firstIsBug_ = true;
    bool firstIsHex_ = true;
    std::uint64_t lineWords_ = 0;
    bool lineSound_ = true;
    bool lineCut_ = false;
    bool lineWhole_ = true;  // every kept word of the line was taken whole from an ASCII line
    std::size_t lineFirstLength_ = 0;  // bytes of the line's first and last dump word
    std::size_t lineLastLength_ = 0;
    // Where the open message stood before this line: a line that turns out not to continue
    // the dump is taken back to here.
    std::size_t lineTextMark_ = 0;
    std::size_t linePlacesMark_ = 0;
    std::size_t lineUnitsMark_ = 0;

    // The word being read.
    bool inWord_ = false;
    std::size_t wordBytes_ = 0;
    bool wordUpperHex_ = true;

    // The open message.
    bool open_ = false;
    std::uint64_t bugLine_ = 0;
    std::uint64_t lastLine_ = 0;
    std::string bug_;
    // The text of the open message: a buffer that grows as a string does, with room for a
    // sixteen-byte store past its end, and whose bytes are written before they are read, so
    // that growing it within what it holds fills nothing.
    class MessageText {
    public:
        static constexpr std::size_t kRoom = 16;
        std::size_t size() const { return size_; }
        char* data() { return bytes_.data(); }
        operator std::string_view() const { return {bytes_.data(), size_}; }
        void clear() { size_ = 0; }
        // Bytes past the old size are left to the caller to write.
        void resize(std::size_t size) {
            if (size + kRoom > bytes_.size())
                bytes_.resize(std::max(2 * bytes_.size(), size + kRoom));
            size_ = size;
        }
        void append(std::string_view bytes) {
            const std::size_t at = size_;
            resize(at + bytes.size());
            std::memcpy(bytes_.data() + at, bytes.data(), bytes.size());
        }

    private:
        std::string bytes_;
        std::size_t size_ = 0;
    };
    MessageText text_;
    // Words 1..30 kept, placed_ of them: where each stands, and where it starts in text_ (for
    // the words of a line read a byte at a time: a line read whole needs no more looking at).
    std::array<LogWordPlace, kLastWord> places_;
    std::array<std::size_t, kLastWord> offsets_;
    std::size_t placed_ = 0;
    std::vector<LogNote> notes_;
    std::uint64_t words_ = 0;
    bool sound_ = true;  // every word so far is eight upper-case hexadecimal digits
    bool cut_ = false;
    std::size_t keptUnits_ = 0;
    // The last word of the dump's previous line and its bytes: with a first word of fewer than
    // eight on the next line, the two may be one word split at the line end.
    std::uint64_t previousLastWord_ = 0;
    std::size_t previousLastLength_ = 0;
    TextLayout layout_;  // of the message handed out, when the reader lays it out
};

// Where a log may be cut so that one reader to the cut and another after it (started with
// Restart(lines before the cut)) find what one reader finds: the start of a line that ends any
// dump open before it, whatever came before. That is a line after LF that is blank, or whose
// first word, as far as `text` shows it, is no word of one to eight hexadecimal digits (a BUG
// line among them). A line starting with a space, or too little of it in `text`, is no cut.
// The last and the first cut after position 0, or npos.
std::size_t LastLogCut(std::string_view text);
std::size_t FirstLogCut(std::string_view text);

// Everything a reader finds in a whole log held in memory: its messages, copied, and its counts.
struct LogDump {
    std::uint64_t line = 0;
    std::uint64_t lastLine = 0;
    std::string bug;
    std::string text;
    std::uint64_t words = 0;
    std::vector<LogWordPlace> places;
    std::vector<LogNote> notes;
    bool cut = false;
};
// A message kept past the handler's call: its views and spans copied.
LogDump DumpOf(const LogMessage& message);
std::vector<LogDump> ReadLog(std::string_view log, LogCounts* counts = nullptr);

}  // namespace quillmark
