// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a console log through the log reader, whole and in pieces.
//
// Checks, beyond "no crash": the log fed in pieces cut where the input says gives the same
// messages as fed whole; messages come in rising line order; every word's place lies inside
// the message's lines and holds, in the log, exactly the word's bytes in the text to decode;
// the counts add up; read as two logs cut where LastLogCut or FirstLogCut says, the second reader
// going on from the first one's lines, it gives the same messages and counts as read whole; a
// layout the reader hands out is the one TextLayout::Read makes of the message's text, and
// decodes as the text does.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/log_reader.h"
#include "decoder/record_view.h"
#include "decoder/utf8.h"
#include "tests/support/FuzzCheck.h"

namespace {

using quillmark::support::Require;

// The log's lines as the reader ends them: at LF, a CR before it dropped.
std::vector<std::string_view> LinesOf(std::string_view log) {
    std::vector<std::string_view> lines;
    while (!log.empty()) {
        std::size_t end = log.find('\n');
        std::string_view line = log.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        log.remove_prefix(end == std::string_view::npos ? log.size() : end + 1);
    }
    return lines;
}

// The bytes of `length` characters from character `column` of the line.
std::string_view Characters(std::string_view line, std::size_t column, std::size_t length) {
    std::size_t at = 0;
    for (std::size_t k = 0; k < column && at < line.size(); ++k)
        at += quillmark::utf8::CharSize(line.substr(at));
    std::size_t end = at;
    for (std::size_t k = 0; k < length && end < line.size(); ++k)
        end += quillmark::utf8::CharSize(line.substr(end));
    return line.substr(at, end - at);
}

// Lines read whole and lines read a piece at a time give the same places and notes.
bool Same(const std::vector<quillmark::LogWordPlace>& a,
          const std::vector<quillmark::LogWordPlace>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.line == y.line && x.column == y.column && x.length == y.length &&
               x.faulty == y.faulty;
    });
}
bool Same(const std::vector<quillmark::LogNote>& a, const std::vector<quillmark::LogNote>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.word == y.word && x.text == y.text;
    });
}

void RequireSameLayout(const quillmark::LogMessage& m) {
    if (m.layout == nullptr) return;
    quillmark::TextLayout read;
    read.Read(m.text);
    const quillmark::TextLayout& given = *m.layout;
    Require(given.Text().data() == m.text.data() && given.WordCount() == read.WordCount() &&
                given.BytesRead() == read.BytesRead() && given.Length() == read.Length() &&
                given.AnyCharacter() == read.AnyCharacter(),
            "the reader's layout reads as the text's");
    for (int k = 0; k <= 30; ++k) {
        const quillmark::WordPlace& a = given.Place(k);
        const quillmark::WordPlace& b = read.Place(k);
        Require(given[k] == read[k] && given[k].data() == read[k].data() &&
                    (k == 0 || k > given.WordCount() || m.words == 0 || given[k].size() == 8) &&
                    a.present == b.present && a.start == b.start &&
                    a.spaceBefore == b.spaceBefore && a.spaceAfter == b.spaceAfter &&
                    a.count == b.count && a.runs == b.runs && a.fault.index == b.fault.index,
                "each word of the reader's layout as the text's");
    }
    quillmark::RecordView fromLayout, fromText;
    fromLayout.Decode(given);
    fromText.Decode(m.text);
    quillmark::DecodedFields a, b;
    fromLayout.CopyTo(a);
    fromText.CopyTo(b);
    Require(a.texts == b.texts && a.codes == b.codes && a.PointersDiffer == b.PointersDiffer,
            "the reader's layout decodes as the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 17;
    const std::string_view log(reinterpret_cast<const char*>(data) + 1, size - 1);

    quillmark::LogCounts counts;
    const std::vector<quillmark::LogDump> whole = quillmark::ReadLog(log, &counts);

    std::vector<quillmark::LogDump> pieces;
    quillmark::LogReader reader([&pieces](const quillmark::LogMessage& m) {
        RequireSameLayout(m);
        pieces.push_back(quillmark::DumpOf(m));
    });
    for (std::size_t at = 0; at < log.size(); at += piece) reader.Feed(log.substr(at, piece));
    reader.Finish();
    Require(pieces.size() == whole.size(), "pieces give the same messages");

    for (const std::size_t cut : {quillmark::FirstLogCut(log), quillmark::LastLogCut(log)}) {
        if (cut == std::string_view::npos) continue;
        Require(cut > 0 && cut < log.size() && log[cut - 1] == '\n', "a cut stands after LF");
        quillmark::LogCounts before;
        std::vector<quillmark::LogDump> halves = quillmark::ReadLog(log.substr(0, cut), &before);
        quillmark::LogReader after(
            [&halves](const quillmark::LogMessage& m) { halves.push_back(quillmark::DumpOf(m)); });
        after.Restart(before.lines);
        after.Feed(log.substr(cut));
        after.Finish();
        Require(halves.size() == whole.size() &&
                    before.messages + after.Counts().messages == counts.messages &&
                    before.skippedLines + after.Counts().skippedLines == counts.skippedLines &&
                    after.Counts().lines == counts.lines,
                "a log cut in two counts as the whole");
        for (std::size_t m = 0; m < whole.size(); ++m)
            Require(halves[m].text == whole[m].text && halves[m].line == whole[m].line &&
                        halves[m].lastLine == whole[m].lastLine &&
                        halves[m].words == whole[m].words && halves[m].cut == whole[m].cut &&
                        halves[m].bug == whole[m].bug && Same(halves[m].places, whole[m].places) &&
                        Same(halves[m].notes, whole[m].notes),
                    "a log cut in two gives the same messages");
    }

    const std::vector<std::string_view> lines = LinesOf(log);
    Require(counts.lines == lines.size(), "every line counted");
    Require(counts.messages == whole.size(), "messages counted");
    std::uint64_t previous = 0;
    std::uint64_t inMessages = 0;
    for (std::size_t m = 0; m < whole.size(); ++m) {
        const quillmark::LogDump& dump = whole[m];
        Require(pieces[m].text == dump.text && pieces[m].line == dump.line &&
                    pieces[m].lastLine == dump.lastLine && pieces[m].words == dump.words &&
                    Same(pieces[m].places, dump.places) && Same(pieces[m].notes, dump.notes),
                "pieces give the same message");
        Require(dump.line > previous && dump.lastLine >= dump.line && dump.lastLine <= lines.size(),
                "line numbers rise");
        previous = dump.lastLine;
        inMessages += dump.lastLine - dump.line + 1;
        Require(lines[dump.line - 1].find(dump.bug) != std::string_view::npos,
                "BUG word on its line");
        Require(quillmark::utf8::IsValid(dump.text) || !quillmark::utf8::IsValid(log),
                "a valid log gives valid texts");
        const std::size_t placed = dump.words < 30 ? dump.words : 30;
        Require(dump.places.size() == placed, "a place for every word 1..30");
        if (dump.cut) continue;
        std::size_t at = 0;
        for (const quillmark::LogWordPlace& place : dump.places) {
            Require(place.line >= dump.line && place.line <= dump.lastLine,
                    "word inside its lines");
            const std::size_t end = std::min(dump.text.find(' ', at), dump.text.size());
            const std::string_view word = std::string_view(dump.text).substr(at, end - at);
            Require(Characters(lines[place.line - 1], place.column, place.length) == word,
                    "the place holds the word");
            at = end + 1;
        }
    }
    Require(counts.skippedLines + inMessages == counts.lines,
            "every line is a message's or skipped");
    return 0;
}
