// SPDX-License-Identifier: MIT
#include "ui/main/SourceMarks.h"

#include <algorithm>

#include "decoder/utf8.h"

namespace quillmark::ui {

namespace {

// Code point index -> UTF-16 index, one entry per code point and one for the end; empty when
// the text has no character beyond U+FFFF, where the two counts agree.
std::vector<std::size_t> Utf16Places(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && utf8::Utf16CharSize(text, i) == 1) ++i;
    std::vector<std::size_t> places;
    if (i == text.size()) return places;
    places.reserve(text.size() + 1);
    for (i = 0; i < text.size(); i += utf8::Utf16CharSize(text, i)) places.push_back(i);
    places.push_back(text.size());
    return places;
}

TextSpan InUtf16(TextSpan span, const std::vector<std::size_t>& places) {
    if (places.empty()) return span;
    const auto at = [&](std::size_t i) { return places[std::min(i, places.size() - 1)]; };
    return {at(span.start), at(span.end()) - at(span.start)};
}

std::string PositionsOf(const Source& source) {
    const std::string text = SourceText(source);
    if (source.length == 0) return text;  // "word 4 is empty": nothing typed to leave out
    return text.substr(0, text.find(": "));
}

}  // namespace

void SourceMarks::decoded(std::string_view utf8, std::u16string_view utf16) {
    TextLayout layout;
    layout.Read(utf8);
    decoded(layout, utf16);
}

void SourceMarks::decoded(const TextLayout& layout, std::u16string_view utf16) {
    spans_ = SpansOf(layout);
    notes_ = WordNotesOf(layout);
    const std::vector<std::size_t> places = Utf16Places(utf16);
    if (!places.empty()) {
        for (std::vector<TextSpan>& spans : spans_)
            for (TextSpan& span : spans) span = InUtf16(span, places);
        for (WordNote& note : notes_) {
            note.span = InUtf16(note.span, places);
            note.mark = InUtf16(note.mark, places);
        }
    }
    active_ = true;
}

void SourceMarks::clear() {
    active_ = false;
    spans_ = {};
    notes_.clear();
}

FieldSet SourceMarks::fieldsAtCaret(std::size_t position) const {
    return active_ ? FieldsAtCaret(spans_, position) : FieldSet{};
}

FieldSet SourceMarks::fieldsIn(std::size_t start, std::size_t end) const {
    return active_ ? FieldsIn(spans_, start, end) : FieldSet{};
}

std::span<const WordNote> SourceMarks::notesAt(std::size_t position) const {
    return active_ ? NotesAt(notes_, position) : std::span<const WordNote>{};
}

std::vector<const WordNote*> SourceMarks::notesOf(Field field) const {
    std::vector<const WordNote*> found;
    const FieldRow& row = RowOf(field);
    for (const WordNote& note : notes_)
        if (note.word >= row.word && note.word <= row.lastWord) found.push_back(&note);
    return found;
}

std::string resultDescription(Field field, const std::vector<Source>& sources,
                              const std::vector<const WordNote*>& notes) {
    std::string text = "from ";
    if (sources.empty()) {
        text += SourcesText(field, sources);
    } else {
        for (const Source& source : sources) {
            if (&source != &sources.front()) text += ", ";
            text += PositionsOf(source);
        }
    }
    for (const WordNote* note : notes) text += "; " + note->text;
    return text;
}

std::string caretDescription(FieldSet fields, std::span<const WordNote> notes) {
    std::string text = "At the caret: ";
    if (fields.none()) text += "no result";
    for (const FieldRow& row : kFields) {
        if (!fields.test(IndexOf(row.field))) continue;
        if (!text.ends_with(": ")) text += ", ";
        text += row.caption;
    }
    for (const WordNote& note : notes) text += "; " + note.text;
    return text;
}

}  // namespace quillmark::ui
