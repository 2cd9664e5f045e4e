// SPDX-License-Identifier: MIT
#include "cli/SourceNotes.h"

#include "decoder/text_spans.h"
#include "decoder/word_notes.h"

namespace quillmark::cli {

const std::string& NoteOf(const Source& source, const WordNoteTexts& notes) {
    return notes[static_cast<std::size_t>(source.word)];
}

WordNoteTexts NoteTextsOf(const TextLayout& layout) {
    WordNoteTexts texts;
    for (WordNote& note : WordNotesOf(layout))
        texts[static_cast<std::size_t>(note.word)] = std::move(note.text);
    return texts;
}

std::string NotedSourcesText(Field field, const std::vector<Source>& sources,
                             const WordNoteTexts& notes) {
    if (sources.empty()) return SourcesText(field, sources);
    std::string text;
    for (const Source& source : sources) {
        if (!text.empty()) text += '\n';
        text += SourceText(source);
        if (const std::string& note = NoteOf(source, notes); !note.empty())
            text += "\nnote: " + note;
    }
    return text;
}

}  // namespace quillmark::cli
