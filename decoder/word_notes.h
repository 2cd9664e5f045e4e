// SPDX-License-Identifier: MIT
#pragma once
// Notes on the words of a message that the decoder will not read as meant, placed in the
// message text as its spans are (text_spans.h: characters of the text as given, from 0).

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/text_spans.h"

namespace quillmark {

class TextLayout;

// A word of the call register that is not eight upper-case hexadecimal digits: which word, where
// it stands and what is wrong, in one sentence such as
// "word 6 has 16 characters: two words joined by a line break?".
struct WordNote {
    int word = 0;
    // From the word's first to its last character, line breaks inside included. An empty word
    // has a zero-length span at its place: where the space that ends it stands, or the end of
    // the text.
    TextSpan span;
    std::string text;
    // The characters to mark on screen: the span, or for an empty word the space that ends it
    // (at the end of the text, the space that began it), so that it can be seen and pointed at.
    TextSpan mark;
};

// Notes on words 1 to 30 as far as the text has them, in word order; none for a text without
// a character other than line breaks. Words after word 30 are not read and get no note.
std::vector<WordNote> WordNotesOf(const TextLayout& layout);
std::vector<WordNote> WordNotesOf(std::string_view text);  // the same, for a text read here

// The notes whose marks cover a character position, in word order: none, one, or two where
// an empty last word is marked on the space that also ends the empty word before it
// ("0008F5B4  ": words 2 and 3 both on character 9).
std::span<const WordNote> NotesAt(const std::vector<WordNote>& notes, std::size_t position);

}  // namespace quillmark
