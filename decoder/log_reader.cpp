// SPDX-License-Identifier: MIT
#include "decoder/log_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "decoder/byte_scan.h"
#include "decoder/text_spans.h"
#include "decoder/utf8.h"
#include "decoder/word_notes.h"

namespace quillmark {
namespace {

// A BUG word longer than this is kept only this far; it is still a BUG word.
constexpr std::size_t kMostBugBytes = 256;
constexpr std::size_t kHexWordDigits = 8;

constexpr bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsHexDigit(char c) { return bytes::IsHexDigitEitherCase(c); }
// "BUG" and one or more decimal digits.
constexpr bool IsBugWord(std::string_view word) {
    return word.size() > 3 && word.starts_with("BUG") &&
           std::all_of(word.begin() + 3, word.end(), IsDecimalDigit);
}

// Characters of a word as the decoder counts them, and the first that is not an upper-case
// hexadecimal digit (-1 when there is none).
std::pair<std::size_t, int> CharsAndFaulty(std::string_view word) {
    std::size_t chars = 0;
    int faulty = -1;
    while (!word.empty()) {
        const std::size_t size = utf8::CharSize(word);
        if (faulty < 0 && (size != 1 || !bytes::IsUpperHexDigit(word.front()))) {
            faulty = static_cast<int>(chars);
        }
        word.remove_prefix(size);
        ++chars;
    }
    return {chars, faulty};
}

std::pair<std::size_t, int> AsciiCharsAndFaulty(std::string_view word) {
    const auto* faulty = std::find_if_not(word.begin(), word.end(), bytes::IsUpperHexDigit);
    return {word.size(), faulty == word.end() ? -1 : static_cast<int>(faulty - word.begin())};
}

// A line of at most this many bytes is classified whole before its words are read.
constexpr std::size_t kMaskedLine = 512;

std::string ShortDumpNote(std::uint64_t words) {
    return "dump has " + std::to_string(words) + (words == 1 ? " word" : " words") +
           ": fields from word " + std::to_string(words + 1) + " on are empty";
}

std::string SplitWordNote(std::uint64_t word, std::size_t before, std::size_t after,
                          std::uint64_t line) {
    return "words " + std::to_string(word) + " and " + std::to_string(word + 1) + " have " +
           std::to_string(before) + " and " + std::to_string(after) +
           " characters, at the end of line " + std::to_string(line - 1) +
           " and the start of line " + std::to_string(line) + ": one word split at the line end?";
}

}  // namespace

// The classes of every byte of a line, 64 to a word, bit i for byte i: where its words start
// and end, and which of their bytes are no hexadecimal digit, or no upper-case one.
class LogReader::LineMasks {
public:
    explicit LineMasks(std::string_view line) : size_(line.size()), words_((size_ + 63) / 64) {
        for (std::size_t at = 0; at < size_; at += 16) {
            char sixteen[16];
            const char* from = line.data() + at;
            if (at + 16 > size_) {
                // The last bytes, padded with spaces: no word runs past the line.
                std::memset(sixteen, ' ', sizeof sixteen);
                std::memcpy(sixteen, from, size_ - at);
                from = sixteen;
            }
            const bytes::HexClasses classes = bytes::ClassifyHex(from);
            const std::size_t word = at / 64;
            const unsigned shift = at % 64;
            const auto put = [&](std::uint64_t* mask, std::uint32_t bits) {
                mask[word] |= static_cast<std::uint64_t>(bits) << shift;
            };
            put(spaces_, classes.spaces);
            put(nonSpaces_, ~classes.spaces & 0xFFFFU);
            put(notHex_, ~(classes.hex | classes.spaces) & 0xFFFFU);
            put(notUpper_, ~(classes.upperHex | classes.spaces) & 0xFFFFU);
            beyondAscii_ |= classes.beyondAscii;
        }
        // A word starts at a word byte after a space (or at the line's start) and ends at the
        // space after its last byte; past the line's end everything reads as spaces.
        std::uint64_t carry = 0;  // the last byte of the mask word before is a word byte
        for (std::size_t word = 0; word < words_; ++word) {
            const std::uint64_t bytes = nonSpaces_[word];
            edges_[word] = bytes ^ ((bytes << 1) | carry);
            carry = bytes >> 63;
        }
    }

    bool Ascii() const { return beyondAscii_ == 0; }
    std::size_t NextNotUpperHex(std::size_t from) const { return Next(notUpper_, from); }
    // Whether a byte from `from` on is of the kind.
    bool AnyNotHex(std::size_t from) const { return Any(notHex_, from); }
    bool AnyNotUpperHex(std::size_t from) const { return Any(notUpper_, from); }

    // The words from `from` on, and their count: word k from byte edges[2k] to the byte
    // before edges[2k + 1]. `edges` has room for kMaskedLine + 2; `from` stands in no word but
    // at its start.
    std::size_t Words(std::size_t from, std::uint16_t* edges) const {
        if (from >= size_) return 0;
        std::size_t word = from / 64;
        std::uint64_t bits = edges_[word] & (~std::uint64_t{0} << (from % 64));
        const std::uint64_t at = std::uint64_t{1} << (from % 64);
        if ((nonSpaces_[word] & at) == 0) bits &= ~at;  // the end of the word before
        std::size_t found = 0;
        for (;;) {
            for (; bits != 0; bits &= bits - 1)
                edges[found++] = static_cast<std::uint16_t>(word * 64 + std::countr_zero(bits));
            if (++word == words_) break;
            bits = edges_[word];
        }
        if (found % 2 != 0)
            edges[found++] = static_cast<std::uint16_t>(size_);  // at the line's end
        return found / 2;
    }

private:
    static constexpr std::size_t kWords = kMaskedLine / 64;

    std::size_t Next(const std::uint64_t* mask, std::size_t from) const {
        if (from >= size_) return size_;
        std::size_t word = from / 64;
        std::uint64_t bits = mask[word] & (~std::uint64_t{0} << (from % 64));
        while (bits == 0) {
            if (++word * 64 >= size_) return size_;
            bits = mask[word];
        }
        return std::min(size_, word * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
    }
    // The padding past the line's end reads as spaces, which are of no kind here.
    bool Any(const std::uint64_t* mask, std::size_t from) const {
        if (from >= size_) return false;
        std::uint64_t bits = mask[from / 64] & (~std::uint64_t{0} << (from % 64));
        for (std::size_t word = from / 64 + 1; word < words_; ++word) bits |= mask[word];
        return bits != 0;
    }

    std::size_t size_;
    std::size_t words_;  // mask words that hold the line
    std::uint64_t spaces_[kWords] = {};
    std::uint64_t nonSpaces_[kWords] = {};
    std::uint64_t notHex_[kWords] = {};
    std::uint64_t notUpper_[kWords] = {};
    std::uint64_t edges_[kWords];  // the start and the end of every word
    std::uint32_t beyondAscii_ = 0;
};

LogReader::LogReader(Handler handler, std::size_t characterLimit)
    : handler_(std::move(handler)), characterLimit_(characterLimit) {
    ResetLine();
}

void LogReader::Restart(std::uint64_t linesBefore) {
    counts_ = {};
    counts_.lines = linesBefore;
    open_ = false;
    ResetLine();
}

void LogReader::ResetLine() {
    mode_ = Mode::Leading;
    pendingCr_ = false;
    lineSeen_ = false;
    lineByte_ = 0;
    inWord_ = false;
    lineWords_ = 0;
    lineSound_ = true;
    lineCut_ = false;
    lineWhole_ = true;
    lineFirstLength_ = 0;
    lineLastLength_ = 0;
}

void LogReader::Feed(std::string_view block) {
    const char* at = block.data();
    const char* const end = at + block.size();
    while (at < end) {
        if (mode_ == Mode::Leading && !lineSeen_) {
            const std::string_view rest(at, static_cast<std::size_t>(end - at));
            if (const std::size_t used = UsualLine(rest); used > 0) {
                at += used;
                continue;
            }
            // A line that stands whole in the block is read a word at a time.
            const std::size_t lineFeed = bytes::FindByte(rest, '\n');
            if (lineFeed < rest.size()) {
                std::string_view line = rest.substr(0, lineFeed);
                if (line.ends_with('\r')) line.remove_suffix(1);
                WholeLine(line);
                at += lineFeed + 1;
                continue;
            }
        }
        if (mode_ == Mode::Skip) {
            // A line of no message: nothing in it matters but its end.
            const std::string_view rest(at, static_cast<std::size_t>(end - at));
            const std::size_t lineFeed = bytes::FindByte(rest, '\n');
            if (lineFeed == rest.size()) {
                return;
            }
            at += lineFeed + 1;
            EndLine();
            continue;
        }
        const char c = *at++;
        if (pendingCr_) {
            pendingCr_ = false;
            if (c == '\n') {
                EndLine();
                continue;
            }
            Take('\r');
            if (mode_ == Mode::Skip) {
                --at;  // the byte after the CR is looked at again as part of a skipped line
                continue;
            }
        }
        if (c == '\n') {
            EndLine();
        } else if (c == '\r') {
            pendingCr_ = true;
            lineSeen_ = true;
        } else {
            Take(c);
        }
    }
}

void LogReader::Finish() {
    // A CR at the very end ends the last line as CR LF would.
    pendingCr_ = false;
    if (lineSeen_) {
        EndLine();
    }
    if (open_) {
        Emit();
    }
}

// The lines a log is mostly made of, read at once from the start of `rest` when it holds them
// whole: a blank line, a line of no message, a BUG line and a line that goes on with the dump,
// both of words of eight upper-case digits. Returns the bytes read, line feed included, or 0
// for any other line, which is read as before.
std::size_t LogReader::UsualLine(std::string_view rest) {
    constexpr auto kNone = std::string_view::npos;
    std::size_t from = 0;
    while (from < rest.size() && rest[from] == ' ') ++from;
    if (from == rest.size()) return 0;
    const std::string_view line = rest.substr(from);
    if (line[0] == '\n') {
        ++counts_.lines;  // a blank line
        ++counts_.skippedLines;
        if (open_) Emit();
        return from + 1;
    }
    // With the usual line and text of a dump, neither a space nor a word can reach the limit.
    const auto fits = [this](std::size_t bytes) {
        return !cut_ && keptUnits_ + bytes + 1 <= characterLimit_;
    };
    const auto addWords = [&](std::size_t at, std::size_t feed) {
        SpacedWords(rest, at, (feed - at + 1) / (kHexWordDigits + 1));  // the line and after
        lineWords_ = 0;
        lineFirstLength_ = lineLastLength_ = 0;
        previousLastWord_ = words_;
        previousLastLength_ = kHexWordDigits;
    };
    if (open_) {
        if (const std::size_t feed = bytes::SpacedHexLine(line);
            feed != kNone && fits(from + feed)) {
            addWords(from, from + feed);
            lastLine_ = ++counts_.lines;
            return from + feed + 1;
        }
    }
    if (line.starts_with("BUG")) {
        std::size_t at = 3;
        while (at < line.size() && IsDecimalDigit(line[at])) ++at;
        if (at == 3 || at > kMostBugBytes || at == line.size() ||
            (line[at] != ' ' && line[at] != '\n'))
            return 0;
        const std::string_view bug = line.substr(0, at);
        while (at < line.size() && line[at] == ' ') ++at;
        if (at == line.size()) return 0;
        std::size_t feed = at;  // the line ends after the BUG word, or words follow it
        if (line[at] != '\n') {
            feed = bytes::SpacedHexLine(line.substr(at));
            if (feed == kNone || from + at + feed + 1 > characterLimit_) return 0;
            feed += at;
        }
        if (open_) Emit();
        StartMessage(bug);
        if (feed > at) addWords(from + at, from + feed);
        ++counts_.lines;
        return from + feed + 1;
    }
    // A first word that is no BUG word, nor in an open dump one of up to eight hexadecimal
    // digits: a line of no message, and nothing of it is kept. (A line that is less than
    // "BUG" has its line feed before the word could be one.)
    if (open_) {
        std::size_t digits = 0;
        while (digits < line.size() && digits <= kHexWordDigits && IsHexDigit(line[digits]))
            ++digits;
        if (digits <= kHexWordDigits && (digits == line.size() || line[digits] == ' ' ||
                                         line[digits] == '\n' || line[digits] == '\r'))
            return 0;
    }
    const std::size_t feed = bytes::FindByte(line, '\n');
    if (feed == line.size()) return 0;
    if (open_) Emit();
    ++counts_.lines;
    ++counts_.skippedLines;
    return from + feed + 1;
}

void LogReader::StartMessage(std::string_view bug) {
    open_ = true;
    bugLine_ = counts_.lines + 1;
    lastLine_ = bugLine_;
    bug_ = bug;
    text_.clear();
    placed_ = 0;
    notes_.clear();
    words_ = 0;
    sound_ = true;
    cut_ = false;
    keptUnits_ = 0;
    previousLastWord_ = 0;
    previousLastLength_ = 0;
}

void LogReader::WholeLine(std::string_view line) {
    lineSeen_ = !line.empty();
    const std::size_t size = line.size();
    const auto wordEnd = [line](std::size_t from) { return bytes::FindByte(line, ' ', from); };
    std::size_t at = 0;
    while (at < size && line[at] == ' ') ++at;
    if (at == size) {
        EndLine();  // a blank line
        return;
    }
    if (open_ && size <= kMaskedLine && !cut_ && keptUnits_ + size + 1 <= characterLimit_) {
        // The usual line that goes on with a dump: words of eight upper-case digits, a space
        // between each two, the first of them no BUG word.
        if (const std::size_t count = bytes::SpacedHexWords(line.substr(at)); count > 0) {
            MarkLine();
            mode_ = Mode::HexWords;
            SpacedWords(line, at, count);
            EndLine();
            return;
        }
    }
    std::size_t end = wordEnd(at);
    const std::string_view first = line.substr(at, end - at);
    const bool bug = IsBugWord(first);
    if (!bug && !(open_ && first.size() <= kHexWordDigits &&
                  std::all_of(first.begin(), first.end(), IsHexDigit))) {
        // A line of no message, and the most common one: nothing of it is kept.
        mode_ = Mode::First;
        RejectLine();
        EndLine();
        return;
    }
    if (bug) {
        mode_ = Mode::First;
        first_.assign(first.substr(0, kMostBugBytes));
        firstLength_ = first.size();
        firstIsBug_ = true;
        firstIsHex_ = false;
        EndFirstWord();
        at = end;
    } else {
        MarkLine();
        mode_ = Mode::HexWords;
    }
    // Column and character counts stay byte counts on a line all of ASCII, and every word
    // is kept whole unless the character limit cuts it.
    if (size <= kMaskedLine) {
        // The usual dump line: words of eight upper-case digits, a space between each two.
        std::size_t first = at;
        while (first < size && line[first] == ' ') ++first;
        if (const std::size_t count = bytes::SpacedHexWords(line.substr(first));
            count > 0 && !cut_ && !lineCut_ && keptUnits_ + size + 1 <= characterLimit_) {
            SpacedWords(line, first, count);
            EndLine();
            return;
        }
        const LineMasks masks(line);
        if (masks.Ascii()) {
            AsciiWords(line, at, masks);
            EndLine();
            return;
        }
    }
    const bool ascii = bytes::IsAscii(line);
    for (; at < size; at = end) {
        while (at < size && line[at] == ' ') ++at;
        if (at == size) break;
        end = wordEnd(at);
        const std::string_view word = line.substr(at, end - at);
        if (mode_ == Mode::HexWords &&
            (word.size() > kHexWordDigits || !std::all_of(word.begin(), word.end(), IsHexDigit))) {
            RejectLine();
            break;
        }
        StartWord(at);
        KeepWord(word, ascii);
        EndWord();
    }
    EndLine();
}

void LogReader::AsciiWords(std::string_view line, std::size_t from, const LineMasks& masks) {
    const bool hexOnly = mode_ == Mode::HexWords;
    if (hexOnly && masks.AnyNotHex(from)) {
        RejectLine();  // a word that is no hexadecimal one: the line is no part of a dump
        return;
    }
    std::uint16_t edges[kMaskedLine + 2];
    const std::size_t count = masks.Words(from, edges);
    const auto start = [&edges](std::size_t k) -> std::size_t { return edges[2 * k]; };
    const auto length = [&edges](std::size_t k) -> std::size_t {
        return edges[2 * k + 1] - edges[2 * k];
    };
    if (hexOnly) {
        for (std::size_t k = 0; k < count; ++k) {
            if (length(k) > kHexWordDigits) {
                RejectLine();  // a word of more than eight digits
                return;
            }
        }
    }
    if (cut_ || lineCut_ || keptUnits_ + line.size() + 1 > characterLimit_) {
        // The character limit may fall in this line: each word is kept as far as it reaches.
        for (std::size_t k = 0; k < count; ++k) {
            StartWord(start(k));
            KeepWord(line.substr(start(k), length(k)), true);
            EndWord();
        }
        return;
    }
    // Neither a space nor a word of this line can reach the limit: the words go straight into
    // the dump.
    if (count == 0) return;
    const auto [before, kept] = CountLineWords(count, length(0), length(count - 1));
    if (kept == 0) return;
    const std::size_t first = start(0);
    const std::size_t last = start(kept - 1) + length(kept - 1);
    const std::size_t base = text_.size();
    const std::size_t space = before > 0 ? 1 : 0;
    text_.resize(base + space + last - first);
    char* const text = text_.data();
    text[base] = ' ';
    LogWordPlace* const place = places_.data() + placed_;
    placed_ += kept;
    const bool anyFault = masks.AnyNotUpperHex(from);
    const std::uint64_t lineNumber = counts_.lines + 1;
    std::size_t bytes = 0;  // of the words kept
    bool sound = true;
    for (std::size_t k = 0; k < kept; ++k) {
        const std::size_t bytesOfWord = length(k);
        int faulty = -1;
        if (anyFault) {
            const std::size_t at = masks.NextNotUpperHex(start(k));
            if (at < start(k) + bytesOfWord) faulty = static_cast<int>(at - start(k));
        }
        sound = sound && bytesOfWord == kHexWordDigits && faulty < 0;
        place[k] = {lineNumber, start(k), bytesOfWord, faulty};
        bytes += bytesOfWord;
    }
    if (bytes + kept - 1 == last - first) {
        // Single spaces between the words, as a dump is mostly written: one copy.
        std::memcpy(text + base + space, line.data() + first, last - first);
    } else {
        char* out = text + base + space;
        for (std::size_t k = 0; k < kept; ++k) {
            if (k > 0) *out++ = ' ';
            std::memcpy(out, line.data() + start(k), length(k));
            out += length(k);
        }
        text_.resize(static_cast<std::size_t>(out - text));
    }
    lineSound_ = lineSound_ && sound;
    keptUnits_ += text_.size() - base;
}

LogReader::CountedWords LogReader::CountLineWords(std::size_t count, std::size_t firstLength,
                                                  std::size_t lastLength) {
    if (lineWords_ == 0) lineFirstLength_ = firstLength;
    lineLastLength_ = lastLength;
    lineWords_ += count;
    const std::uint64_t before = words_;
    words_ += count;
    if (before >= static_cast<std::uint64_t>(kLastWord)) return {before, 0};  // counted, not kept
    return {before, std::min(count, static_cast<std::size_t>(static_cast<std::uint64_t>(kLastWord) -
                                                             before))};
}

void LogReader::SpacedWords(std::string_view line, std::size_t from, std::size_t count) {
    // What AsciiWords does with such a line, the words' places known from their number alone.
    constexpr std::size_t kStep = kHexWordDigits + 1;
    const auto [before, kept] = CountLineWords(count, kHexWordDigits, kHexWordDigits);
    if (kept == 0) return;
    const std::size_t bytes = kStep * kept - 1;
    const std::size_t base = text_.size();
    const std::size_t space = before > 0 ? 1 : 0;
    text_.resize(base + space + bytes);
    char* const text = text_.data();
    text[base] = ' ';
    char* const to = text + base + space;
    const char* const source = line.data() + from;
    if (constexpr std::size_t kChunk = MessageText::kRoom; line.size() - from >= bytes + kChunk) {
        // Sixteen bytes at a time, the last chunk running into bytes of the line after the
        // words and into the text's room.
        for (std::size_t at = 0; at < bytes; at += kChunk)
            std::memcpy(to + at, source + at, kChunk);
    } else {
        std::memcpy(to, source, bytes);
    }
    const std::uint64_t lineNumber = counts_.lines + 1;
    std::size_t column = from;
    for (LogWordPlace *place = places_.data() + placed_, *const last = place + kept; place < last;
         ++place, column += kStep)
        *place = {lineNumber, column, kHexWordDigits, -1};
    placed_ += kept;
    keptUnits_ += space + bytes;
}

void LogReader::KeepWord(std::string_view word, bool ascii) {
    if (words_ > static_cast<std::uint64_t>(kLastWord)) {
        wordBytes_ = word.size();  // counted, not kept
        return;
    }
    const std::size_t kept = word.size();
    if (ascii && keptUnits_ + kept <= characterLimit_ && !lineCut_ && !cut_) {
        wordBytes_ = word.size();
        const auto* faulty = std::find_if_not(word.begin(), word.end(), bytes::IsUpperHexDigit);
        wordUpperHex_ = faulty == word.end();
        places_[placed_ - 1].faulty = wordUpperHex_ ? -1 : static_cast<int>(faulty - word.begin());
        text_.append(word);
        keptUnits_ += kept;
        return;
    }
    for (char c : word) Keep(c);
}

void LogReader::Take(char c) {
    lineSeen_ = true;
    switch (mode_) {
        case Mode::Leading:
            if (c != ' ') {
                mode_ = Mode::First;
                first_.clear();
                firstLength_ = 0;
                firstStart_ = lineByte_;
                firstIsBug_ = true;
                firstIsHex_ = true;
                TakeFirst(c);
            }
            break;
        case Mode::First:
            if (c == ' ') {
                EndFirstWord();
                if (inWord_) EndWord();
            } else {
                TakeFirst(c);
            }
            break;
        case Mode::BugWords:
            if (c == ' ') {
                if (inWord_) EndWord();
            } else {
                if (!inWord_) StartWord(lineByte_);
                Keep(c);
            }
            break;
        case Mode::HexWords:
            if (c == ' ') {
                if (inWord_) EndWord();
            } else if (!IsHexDigit(c) || (inWord_ && wordBytes_ == kHexWordDigits)) {
                RejectLine();
            } else {
                if (!inWord_) StartWord(lineByte_);
                Keep(c);
            }
            break;
        case Mode::Skip: break;
    }
    ++lineByte_;
}

void LogReader::TakeFirst(char c) {
    const std::size_t at = firstLength_++;
    firstIsBug_ = firstIsBug_ && (at < 3 ? c == "BUG"[at] : IsDecimalDigit(c));
    firstIsHex_ = firstIsHex_ && at < kHexWordDigits && IsHexDigit(c);
    if (!firstIsBug_ && !(firstIsHex_ && open_)) {
        RejectLine();
        return;
    }
    if (first_.size() < kMostBugBytes) {
        first_ += c;
    }
}

void LogReader::EndFirstWord() {
    if (firstIsBug_ && firstLength_ > 3) {
        if (open_) {
            Emit();
        }
        StartMessage(first_);
        MarkLine();
        mode_ = Mode::BugWords;
        return;
    }
    if (firstIsHex_ && open_) {
        MarkLine();
        mode_ = Mode::HexWords;
        StartWord(firstStart_);
        for (char c : first_) Keep(c);
        return;
    }
    RejectLine();
}

void LogReader::MarkLine() {
    lineTextMark_ = text_.size();
    linePlacesMark_ = placed_;
    lineUnitsMark_ = keptUnits_;
}

void LogReader::StartWord(std::size_t column) {
    inWord_ = true;
    wordBytes_ = 0;
    wordUpperHex_ = true;
    ++words_;
    ++lineWords_;
    if (words_ > static_cast<std::uint64_t>(kLastWord)) {
        return;
    }
    if (words_ > 1) {
        KeepUnits(" ", 1);
    }
    offsets_[placed_] = text_.size();
    places_[placed_++] = {counts_.lines + 1, column, 0, -1};
}

void LogReader::KeepUnits(std::string_view bytes, std::size_t units) {
    if (lineCut_ || cut_) {
        return;
    }
    if (keptUnits_ + units > characterLimit_) {
        lineCut_ = true;
        return;
    }
    keptUnits_ += units;
    text_.append(bytes);
}

void LogReader::Keep(char c) {
    lineWhole_ = false;
    ++wordBytes_;
    wordUpperHex_ = wordUpperHex_ && bytes::IsUpperHexDigit(c);
    if (words_ <= static_cast<std::uint64_t>(kLastWord)) {
        KeepUnits(std::string_view(&c, 1), utf8::Utf16UnitsOfByte(c));
    }
}

void LogReader::EndWord() {
    inWord_ = false;
    if (lineWords_ == 1) {
        lineFirstLength_ = wordBytes_;
    }
    lineLastLength_ = wordBytes_;
    if (words_ > static_cast<std::uint64_t>(kLastWord)) {
        return;
    }
    places_[placed_ - 1].length = wordBytes_;
    if (wordBytes_ != kHexWordDigits || !wordUpperHex_) {
        lineSound_ = false;
    }
}

void LogReader::EndLine() {
    if (mode_ == Mode::First) {
        EndFirstWord();
    }
    if (inWord_) {
        EndWord();
    }
    const std::uint64_t line = counts_.lines + 1;
    ++counts_.lines;
    switch (mode_) {
        case Mode::Leading:  // a blank line
            if (open_) Emit();
            ++counts_.skippedLines;
            break;
        case Mode::Skip: ++counts_.skippedLines; break;
        case Mode::HexWords:
        case Mode::BugWords: CommitLine(line); break;
        case Mode::First: break;  // left by EndFirstWord
    }
    ResetLine();
}

void LogReader::CommitLine(std::uint64_t line) {
    lastLine_ = line;
    sound_ = sound_ && lineSound_;
    cut_ = cut_ || lineCut_;
    // The places were counted in bytes; words with bytes beyond ASCII have fewer characters.
    // A line read whole, all of ASCII and not cut, has its places complete already.
    std::size_t shift = 0;
    for (std::size_t k = lineWhole_ && !lineCut_ ? placed_ : linePlacesMark_; k < placed_; ++k) {
        LogWordPlace& place = places_[k];
        const std::size_t begin = offsets_[k];
        const std::size_t kept =
            begin >= text_.size() ? 0 : std::min(place.length, text_.size() - begin);
        const std::string_view word = std::string_view(text_).substr(begin, kept);
        const auto [chars, faulty] =
            bytes::IsAscii(word) ? AsciiCharsAndFaulty(word) : CharsAndFaulty(word);
        place.column -= shift;
        shift += kept - chars;
        place.length = chars + (place.length - kept);
        place.faulty = faulty;
    }
    if (mode_ == Mode::HexWords && previousLastWord_ > 0 &&
        previousLastWord_ < static_cast<std::uint64_t>(kLastWord) &&
        previousLastLength_ < kHexWordDigits && lineFirstLength_ < kHexWordDigits) {
        notes_.push_back(
            {static_cast<int>(previousLastWord_),
             SplitWordNote(previousLastWord_, previousLastLength_, lineFirstLength_, line)});
    }
    if (lineWords_ > 0) {
        previousLastWord_ = words_;
        previousLastLength_ = lineLastLength_;
    }
}

void LogReader::RejectLine() {
    if (mode_ == Mode::HexWords) {
        // What this line added is not the dump's: taken back before the message is handed out.
        text_.resize(lineTextMark_);
        placed_ = linePlacesMark_;
        keptUnits_ = lineUnitsMark_;
        words_ -= lineWords_;
    }
    inWord_ = false;
    lineWords_ = 0;
    mode_ = Mode::Skip;
    pendingCr_ = false;
    if (open_) {
        Emit();
    }
}

void LogReader::Emit() {
    open_ = false;
    if (words_ < static_cast<std::uint64_t>(kWordsOfAFullDump)) {
        notes_.insert(notes_.begin(), LogNote{0, ShortDumpNote(words_)});
    }
    if (!sound_) {
        for (WordNote& note : WordNotesOf(text_)) {
            notes_.push_back({note.word, std::move(note.text)});
        }
    }
    LogMessage message;
    message.line = bugLine_;
    message.lastLine = lastLine_;
    message.bug = bug_;
    message.text = text_;
    message.words = words_;
    message.places = {places_.data(), placed_};
    message.notes = notes_;
    message.cut = cut_;
    if (sound_ && !cut_) {
        // Every kept word is eight upper-case digits, a single space between each two.
        layout_.ReadEightDigitWords(text_);
        message.layout = &layout_;
    }
    ++counts_.messages;
    handler_(message);
}

namespace {

// Whether the line starting at `line` (right after LF) ends any open dump, as far as `line`
// tells: blank, or a first word with a byte that is no hexadecimal digit, or of nine digits.
bool EndsAnyDump(std::string_view line) {
    if (line.empty()) return false;
    if (line[0] == '\n') return true;
    if (line[0] == '\r') return line.size() > 1 && line[1] == '\n';
    std::size_t digits = 0;
    while (digits < line.size() && digits <= kHexWordDigits && IsHexDigit(line[digits])) ++digits;
    if (digits > kHexWordDigits) return true;
    if (digits == line.size()) return false;
    const char next = line[digits];
    // A space or a line end after digits ends a hexadecimal word; a CR may be part of a word.
    return next != ' ' && next != '\n' && next != '\r';
}

}  // namespace

std::size_t LastLogCut(std::string_view text) {
    for (std::size_t end = text.size(); end > 0;) {
        const std::size_t lineFeed = text.rfind('\n', end - 1);
        if (lineFeed == std::string_view::npos) break;
        if (EndsAnyDump(text.substr(lineFeed + 1))) return lineFeed + 1;
        end = lineFeed;
    }
    return std::string_view::npos;
}

std::size_t FirstLogCut(std::string_view text) {
    for (std::size_t at = 0;;) {
        const std::size_t lineFeed = bytes::FindByte(text, '\n', at);
        if (lineFeed >= text.size()) return std::string_view::npos;
        if (EndsAnyDump(text.substr(lineFeed + 1))) return lineFeed + 1;
        at = lineFeed + 1;
    }
}

LogDump DumpOf(const LogMessage& message) {
    return {message.line,
            message.lastLine,
            std::string(message.bug),
            std::string(message.text),
            message.words,
            {message.places.begin(), message.places.end()},
            {message.notes.begin(), message.notes.end()},
            message.cut};
}

std::vector<LogDump> ReadLog(std::string_view log, LogCounts* counts) {
    std::vector<LogDump> dumps;
    LogReader reader([&dumps](const LogMessage& message) { dumps.push_back(DumpOf(message)); });
    reader.Feed(log);
    reader.Finish();
    if (counts != nullptr) {
        *counts = reader.Counts();
    }
    return dumps;
}

}  // namespace quillmark
