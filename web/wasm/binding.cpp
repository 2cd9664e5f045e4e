// SPDX-License-Identifier: MIT
// The decoder as the web page calls it. Text crosses between JavaScript and WebAssembly as
// UTF-8 in plain buffers: the page writes into the input buffer, calls one operation, and reads
// the answer texts back by index. The page holds no decoding logic of its own.

#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/log_reader.h"
#include "decoder/provenance.h"
#include "decoder/record_view.h"
#include "decoder/text_layout.h"
#include "decoder/text_spans.h"
#include "decoder/word_notes.h"

namespace {

using quillmark::kFieldCount;

std::string input;                   // what the page handed over last
quillmark::ResultCaptions captions;  // of the last decode, or set one by one for a report
quillmark::ResultCaptions sources;   // where each caption came from; empty where unknown
std::string answer;                  // trimmed text or report

bool InRange(int index) { return index >= 0 && static_cast<std::size_t>(index) < kFieldCount; }

const std::string& Caption(int index) {
    static const std::string none;
    return InRange(index) ? captions[static_cast<std::size_t>(index)] : none;
}

const std::string& Source(int index) {
    static const std::string none;
    return InRange(index) ? sources[static_cast<std::size_t>(index)] : none;
}

// What the page builds its result rows from, per field in result label order: the result's
// control name ("lbl" + key + "Data"), its caption label's control name, the caption, the key.
enum FieldPart { kOutputName, kLabelName, kCaption, kKey, kFieldParts };
const std::array<std::array<std::string, kFieldParts>, kFieldCount> kFieldTexts = [] {
    std::array<std::array<std::string, kFieldParts>, kFieldCount> texts;
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        const std::string key(row.key);
        texts[quillmark::IndexOf(row.field)] = {"lbl" + key + "Data", std::string(row.label),
                                                std::string(row.caption), key};
    }
    return texts;
}();

const std::string& FieldText(int index, int part) {
    static const std::string none;
    return InRange(index) && part >= 0 && part < kFieldParts
               ? kFieldTexts[static_cast<std::size_t>(index)][static_cast<std::size_t>(part)]
               : none;
}

// Fills one text per result label, in result label order, telling which word and characters
// its caption came from, one line per source, as the window's tooltips tell it. The page shows
// a non-empty source in the result's title.
void DescribeSources(const quillmark::DataWords& words, quillmark::ResultCaptions& out) {
    const quillmark::FieldSources found = quillmark::SourcesOf(words);
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        const std::size_t index = quillmark::IndexOf(row.field);
        out[index] = quillmark::SourcesText(row.field, found[index]);
    }
}

}  // namespace

extern "C" {

// The result rows: how many, and per row its names, caption and key (FieldPart) and whether it
// is a digit pointer, which the page marks when the pointers differ.
EMSCRIPTEN_KEEPALIVE int WebFieldCount() { return static_cast<int>(kFieldCount); }
EMSCRIPTEN_KEEPALIVE const char* WebFieldText(int index, int part) {
    return FieldText(index, part).data();
}
EMSCRIPTEN_KEEPALIVE std::size_t WebFieldTextSize(int index, int part) {
    return FieldText(index, part).size();
}
EMSCRIPTEN_KEEPALIVE int WebFieldIsPointer(int index) {
    return InRange(index) &&
                   quillmark::IsPointer(quillmark::kFields[static_cast<std::size_t>(index)])
               ? 1
               : 0;
}

// A buffer of `size` bytes for the next input text; valid until the next call of any function.
EMSCRIPTEN_KEEPALIVE char* WebInput(std::size_t size) {
    input.resize(size);
    return input.data();
}

// Decodes the input as the window's "DeBug" button does; returns 1 when the digit load and
// unload pointers differ. The captions and their sources are then readable by index.
EMSCRIPTEN_KEEPALIVE int WebDecode() {
    static quillmark::DataWords words;
    words = {};
    quillmark::ReadDataWords(input, words);
    const quillmark::DecodedFields fields = quillmark::DecodeCallRegister(words);
    captions = quillmark::CaptionsInLabelOrder(fields);
    DescribeSources(words, sources);
    return fields.PointersDiffer ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* WebCaption(int index) { return Caption(index).data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebCaptionSize(int index) { return Caption(index).size(); }
EMSCRIPTEN_KEEPALIVE const char* WebSource(int index) { return Source(index).data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebSourceSize(int index) { return Source(index).size(); }

// The input becomes caption `index` of the report that WebBuildReport writes.
EMSCRIPTEN_KEEPALIVE void WebSetCaption(int index) {
    if (InRange(index)) captions[static_cast<std::size_t>(index)] = input;
}

EMSCRIPTEN_KEEPALIVE void WebBuildReport() { answer = quillmark::BuildReport(captions); }

EMSCRIPTEN_KEEPALIVE void WebTrimFirstWord() { answer = quillmark::TrimFirstWord(input); }

EMSCRIPTEN_KEEPALIVE const char* WebAnswer() { return answer.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebAnswerSize() { return answer.size(); }

}  // extern "C"

// ---- Where the fields and the faulty words stand in the text -------------------------------
// Positions count code points of the text handed over, from 0; the page turns them into its
// own units. The page calls WebLocate right after WebDecode, with the same input.

namespace {

quillmark::FieldSpans spans;
std::vector<quillmark::WordNote> notes;
std::vector<std::uint32_t> spanTable;  // per field: count, then start and length of each run

const quillmark::WordNote* NoteOf(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < notes.size()
               ? &notes[static_cast<std::size_t>(index)]
               : nullptr;
}

}  // namespace

extern "C" {

// Finds the fields' runs and the notes on faulty words of the input; returns the note count.
EMSCRIPTEN_KEEPALIVE int WebLocate() {
    // The text is read into its layout once; the spans and the notes both read that.
    quillmark::TextLayout layout;
    layout.Read(input);
    spans = quillmark::SpansOf(layout);
    notes = quillmark::WordNotesOf(layout);
    spanTable.clear();
    for (const std::vector<quillmark::TextSpan>& runs : spans) {
        spanTable.push_back(static_cast<std::uint32_t>(runs.size()));
        for (const quillmark::TextSpan& run : runs) {
            spanTable.push_back(static_cast<std::uint32_t>(run.start));
            spanTable.push_back(static_cast<std::uint32_t>(run.length));
        }
    }
    return static_cast<int>(notes.size());
}

EMSCRIPTEN_KEEPALIVE const std::uint32_t* WebSpanTable() { return spanTable.data(); }
EMSCRIPTEN_KEEPALIVE std::size_t WebSpanTableSize() { return spanTable.size(); }

// The fields (bit per result index) that a caret at `start` (start == end) or a selection from
// `start` to `end` touches.
EMSCRIPTEN_KEEPALIVE std::uint32_t WebFieldsAt(std::size_t start, std::size_t end) {
    const quillmark::FieldSet fields = start == end ? quillmark::FieldsAtCaret(spans, start)
                                                    : quillmark::FieldsIn(spans, start, end);
    return static_cast<std::uint32_t>(fields.to_ulong());
}

// The `nth` (from 0) of the notes whose marked characters hold `position`, or -1: two words
// can share a character.
EMSCRIPTEN_KEEPALIVE int WebNoteAt(std::size_t position, std::size_t nth) {
    const std::span<const quillmark::WordNote> at = quillmark::NotesAt(notes, position);
    return nth < at.size() ? static_cast<int>(&at[nth] - notes.data()) : -1;
}

EMSCRIPTEN_KEEPALIVE int WebNoteWord(int index) { return NoteOf(index) ? NoteOf(index)->word : 0; }
EMSCRIPTEN_KEEPALIVE std::size_t WebNoteStart(int index) {
    return NoteOf(index) ? NoteOf(index)->mark.start : 0;
}
EMSCRIPTEN_KEEPALIVE std::size_t WebNoteLength(int index) {
    return NoteOf(index) ? NoteOf(index)->mark.length : 0;
}
EMSCRIPTEN_KEEPALIVE const char* WebNoteText(int index) {
    return NoteOf(index) ? NoteOf(index)->text.data() : "";
}
EMSCRIPTEN_KEEPALIVE std::size_t WebNoteTextSize(int index) {
    return NoteOf(index) ? NoteOf(index)->text.size() : 0;
}

// The first and last word a field is cut from, so that a note on one of them is the field's.
EMSCRIPTEN_KEEPALIVE int WebFieldWord(int index) {
    return InRange(index) ? quillmark::kFields[static_cast<std::size_t>(index)].word : 0;
}
EMSCRIPTEN_KEEPALIVE int WebFieldLastWord(int index) {
    return InRange(index) ? quillmark::kFields[static_cast<std::size_t>(index)].lastWord : 0;
}

}  // extern "C"

// ---- A whole console log -------------------------------------------------------------------
// The page feeds a log block by block (WebInput, then WebLogFeed) and, after each block, reads
// the messages whose dumps ended in it: WebLogTable holds kLogColumns numbers per message, and
// the texts they measure stand one after another in WebAnswer. WebLogFinish ends the log and
// hands out its last message; WebLogSummary then writes the log's counts into WebAnswer.

namespace {

// Per message: the BUG word's line, its note count, then the byte sizes of its texts in
// WebAnswer: the BUG word, the Main PM name, the dump to decode, its notes (one a line).
enum LogColumn { kLogLine, kLogNotes, kLogBug, kLogMainPM, kLogText, kLogNoteText, kLogColumns };

std::vector<std::uint32_t> logTable;
std::uint64_t shortDumps = 0;
std::uint64_t noteCount = 0;
// Per named field, in the catalogue's order: how many messages show each name, in the order
// the names first came. An AUX PM name is counted under its Main PM's. A table holds a few
// dozen names, so a list is searched.
using NameCounts = std::vector<std::pair<std::string, std::uint64_t>>;
std::array<NameCounts, kFieldCount> nameCounts;

void Count(NameCounts& counts, const std::string& name) {
    const auto found = std::find_if(counts.begin(), counts.end(),
                                    [&](const auto& entry) { return entry.first == name; });
    if (found != counts.end())
        ++found->second;
    else
        counts.emplace_back(name, 1);
}

quillmark::RecordView& LogRecord() {
    static quillmark::RecordView record;
    return record;
}

void AppendCounted(std::string_view text, LogColumn column, std::size_t row) {
    answer.append(text);
    logTable[row + column] = static_cast<std::uint32_t>(text.size());
}

void Take(const quillmark::LogMessage& message) {
    quillmark::RecordView& record = LogRecord();
    record.Decode(message.text);
    std::string shown;
    const auto shownOf = [&](quillmark::Field field) {
        record.Shown(field).AssignTo(shown);
        return shown;
    };
    const std::string mainPM = shownOf(quillmark::Field::MainPM);
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        if (!quillmark::HasCode(row)) continue;
        std::string name = shownOf(row.field);
        if (row.field == quillmark::Field::AuxPM) {
            if (name.empty()) continue;  // a Main PM without AUX PMs
            name = mainPM + " / " + name;
        }
        Count(nameCounts[quillmark::IndexOf(row.field)], name);
    }
    shortDumps += message.words < quillmark::kWordsOfAFullDump ? 1 : 0;
    noteCount += message.notes.size();

    const std::size_t row = logTable.size();
    logTable.resize(row + kLogColumns);
    logTable[row + kLogLine] = static_cast<std::uint32_t>(message.line);
    logTable[row + kLogNotes] = static_cast<std::uint32_t>(message.notes.size());
    AppendCounted(message.bug, kLogBug, row);
    AppendCounted(mainPM, kLogMainPM, row);
    AppendCounted(message.text, kLogText, row);
    const std::size_t notesStart = answer.size();
    for (const quillmark::LogNote& note : message.notes) answer.append(note.text).append("\n");
    logTable[row + kLogNoteText] = static_cast<std::uint32_t>(answer.size() - notesStart);
}

quillmark::LogReader& Reader() {
    static quillmark::LogReader reader(Take);
    return reader;
}

void StartAnswer() {
    answer.clear();
    logTable.clear();
}

}  // namespace

extern "C" {

// Starts a new log, its counts from 0.
EMSCRIPTEN_KEEPALIVE void WebLogStart() {
    Reader().Restart();
    shortDumps = noteCount = 0;
    for (auto& counts : nameCounts) counts.clear();
    StartAnswer();
}

// Reads the input as the log's next block; returns the messages ended in it.
EMSCRIPTEN_KEEPALIVE int WebLogFeed() {
    StartAnswer();
    Reader().Feed(input);
    return static_cast<int>(logTable.size() / kLogColumns);
}

EMSCRIPTEN_KEEPALIVE int WebLogFinish() {
    StartAnswer();
    Reader().Finish();
    return static_cast<int>(logTable.size() / kLogColumns);
}

EMSCRIPTEN_KEEPALIVE const std::uint32_t* WebLogTable() { return logTable.data(); }

// One line per count, "key<TAB>name<TAB>count": first the log's own (messages, short dumps,
// notes, skipped lines), then per named field its names, most frequent first.
EMSCRIPTEN_KEEPALIVE void WebLogSummary() {
    StartAnswer();
    const quillmark::LogCounts& counts = Reader().Counts();
    const auto line = [](std::string_view key, std::string_view name, std::uint64_t count) {
        answer.append(key).append("\t").append(name).append("\t");
        answer.append(std::to_string(count)).append("\n");
    };
    line("", "messages", counts.messages);
    line("", "short dumps", shortDumps);
    line("", "notes", noteCount);
    line("", "skipped lines", counts.skippedLines);
    for (const quillmark::FieldRow& row : quillmark::kFields) {
        NameCounts& names = nameCounts[quillmark::IndexOf(row.field)];
        // Most frequent first, equal counts in the order they came: an insertion sort, as
        // std::stable_sort's merging would add some kilobytes to the page for a few dozen names.
        for (auto next = names.begin(); next != names.end(); ++next) {
            const auto place =
                std::upper_bound(names.begin(), next, *next,
                                 [](const auto& a, const auto& b) { return a.second > b.second; });
            std::rotate(place, next, next + 1);
        }
        for (const auto& [name, count] : names) line(row.key, name, count);
    }
}

}  // extern "C"
