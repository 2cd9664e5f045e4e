// SPDX-License-Identifier: MIT
#pragma once
// What the main window marks for the text it decoded last, in the input box's own positions
// (UTF-16 code units, as its document counts them): the characters each field was cut from,
// the fields a caret or selection touches, and the words that are not eight upper-case
// hexadecimal digits. Toolkit-free: the window only moves these into extra selections, frames
// and descriptions.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/field_catalogue.h"
#include "decoder/provenance.h"
#include "decoder/text_layout.h"
#include "decoder/text_spans.h"
#include "decoder/word_notes.h"

namespace quillmark::ui {

class SourceMarks {
public:
    // The text as decoded: the decoder's reading of it, and its UTF-16 as the box holds it
    // (the same characters, or more after those read).
    void decoded(const TextLayout& layout, std::u16string_view utf16);
    // The same for a text read here.
    void decoded(std::string_view utf8, std::u16string_view utf16);
    // Nothing is marked until the next decode: the text changed, or was reset.
    void clear();
    bool active() const { return active_; }

    const std::vector<TextSpan>& spansOf(Field field) const { return spans_[IndexOf(field)]; }
    FieldSet fieldsAtCaret(std::size_t position) const;
    FieldSet fieldsIn(std::size_t start, std::size_t end) const;
    const std::vector<WordNote>& notes() const { return notes_; }
    // The notes on the character at a position: one, or two words that share it.
    std::span<const WordNote> notesAt(std::size_t position) const;
    // The notes on the words a field was read from, in word order.
    std::vector<const WordNote*> notesOf(Field field) const;

private:
    bool active_ = false;
    FieldSpans spans_;
    std::vector<WordNote> notes_;
};

// Where a result came from and what is wrong with the words it was read from, for a screen
// reader: "from word 2, characters 5-6; word 2 is in lower case: only upper-case digits are
// read". Positions only, not the characters, which may hold anything.
std::string resultDescription(Field field, const std::vector<Source>& sources,
                              const std::vector<const WordNote*>& notes);

// What the input box says of the characters at its caret: "At the caret: Main PM, AUX PM",
// "At the caret: no result", and the notes of the faulty words there.
std::string caretDescription(FieldSet fields, std::span<const WordNote> notes);

}  // namespace quillmark::ui
