// SPDX-License-Identifier: MIT
#pragma once
// What --explain says about words that are not eight upper-case hexadecimal digits: the note
// of such a word goes with every source cut from it, below the source line in the report and
// as "note" in the JSON source entry. Kept apart from the writers, which only call these.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/provenance.h"
#include "decoder/text_layout.h"

namespace quillmark::cli {

// Slot k: the note on word k ("word 3 is in lower case: only upper-case digits are read"), or
// empty when word k is sound or not in the text.
using WordNoteTexts = std::array<std::string, kLastWord + 1>;
WordNoteTexts NoteTextsOf(const TextLayout& layout);

// The note on the word a source was cut from; empty when it has none.
const std::string& NoteOf(const Source& source, const WordNoteTexts& notes);

// A field's source lines as SourcesText writes them, each followed by "note: " and its word's
// note where it has one; one line each, no line end after the last.
std::string NotedSourcesText(Field field, const std::vector<Source>& sources,
                             const WordNoteTexts& notes);

}  // namespace quillmark::cli
