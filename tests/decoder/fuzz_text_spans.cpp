// SPDX-License-Identifier: MIT
// Fuzz target: any bytes through the field spans and the word notes.
//
// Checks, beyond "no crash, no out-of-bounds read": every span lies inside the text and on
// characters of a word (never a space or a line break); one field's spans are ordered and apart;
// the caret and selection answers are the fields whose spans hold the characters, worked out
// character by character; every note lies inside the text, notes come in word order, and the
// notes found at a character are every note whose mark holds it.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "decoder/text_spans.h"
#include "decoder/word_notes.h"
#include "tests/support/FuzzCheck.h"
#include "tests/support/ReferenceDecoder.h"

using quillmark::support::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmark;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> chars = reference::Characters(text);
    const std::size_t length = chars.size();

    const FieldSpans spans = SpansOf(text);
    std::vector<FieldSet> fed(length + 1);  // per character, the fields it feeds
    for (std::size_t field = 0; field < spans.size(); ++field) {
        for (std::size_t i = 0; i < spans[field].size(); ++i) {
            const TextSpan& span = spans[field][i];
            Require(span.length > 0 && span.end() <= length, "span inside the text");
            Require(i == 0 || spans[field][i - 1].end() <= span.start, "spans ordered and apart");
            for (std::size_t p = span.start; p < span.end(); ++p) {
                Require(chars[p] != " " && chars[p] != "\r" && chars[p] != "\n",
                        "span on word characters");
                fed[p].set(field);
            }
        }
    }

    // Caret at every place, and selections whose ends the input picks.
    for (std::size_t p = 0; p <= length; ++p) {
        const FieldSet expected = fed[p].any() || p == 0 ? fed[p] : fed[p - 1];
        Require(FieldsAtCaret(spans, p) == expected, "caret answer from the spans");
    }
    for (std::size_t i = 0; i + 1 < size && i < 64; i += 2) {
        std::size_t start = data[i] % (length + 1);
        std::size_t end = data[i + 1] % (length + 1);
        if (start > end) std::swap(start, end);
        if (start == end) continue;  // an empty selection is a caret
        FieldSet expected;
        for (std::size_t p = start; p < end; ++p) expected |= fed[p];
        Require(FieldsIn(spans, start, end) == expected, "selection answer from the spans");
    }

    const std::vector<WordNote> notes = WordNotesOf(text);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const WordNote& note = notes[i];
        Require(note.word >= 1 && note.word <= kLastWord, "note on words 1 to 30");
        Require(i == 0 || notes[i - 1].word < note.word, "notes in word order");
        Require(note.span.end() <= length && note.mark.end() <= length, "note inside the text");
        Require(note.mark.length > 0 && !note.text.empty(), "note marked and worded");
    }
    for (std::size_t p = 0; p < length; ++p) {
        std::size_t marked = 0;
        for (const WordNote& n : notes) marked += n.mark.contains(p) ? 1 : 0;
        const std::span<const WordNote> at = NotesAt(notes, p);
        Require(at.size() == marked, "every note at a character, one run of them");
        for (const WordNote& n : at) Require(n.mark.contains(p), "note at a character holds it");
    }
    return 0;
}
