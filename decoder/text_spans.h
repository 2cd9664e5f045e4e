// SPDX-License-Identifier: MIT
#pragma once
// Where the fields of a message stand in the message text itself, so that a window or a page
// can mark the characters a field was cut from and find the fields a character feeds. The
// notes on faulty words are in word_notes.h.
//
// Positions count characters (code points) of the text as given, from 0. Line breaks (CR, LF)
// are dropped by the word reader but keep their places here, so a word that runs over a line
// break has two runs. A byte sequence that is not UTF-8 counts as one character, as the word
// reader counts it.
//
// Texts of any length are taken as they are, since the caller passes the text as decoded: the
// window's input box holds at most 65,536 characters, quillmark-decode cuts a longer message
// there. The walk stops where word 31 would begin, so a long paste of many words costs no more
// than its first thirty.

#include <array>
#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/field_catalogue.h"

namespace quillmark {

// A run of characters of the message text: 0-based start and length, counted in characters
// (code points).
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;

    std::size_t end() const { return start + length; }
    bool contains(std::size_t position) const { return position >= start && position < end(); }
    friend bool operator==(const TextSpan&, const TextSpan&) = default;
};

// Per field (IndexOf(Field)), the runs of the text it was cut from, in text order: a field cut
// from the word as typed marks those characters; a bit field marks the hexadecimal digits that
// hold its bits; Digits Dialed marks characters 5-8 of every word it read (words 13 to 30 as
// far as the text has them), also where they are "0" and gave no digit. A field whose word is
// missing or too short for its cut has no runs.
using FieldSpans = std::array<std::vector<TextSpan>, kFieldCount>;
class TextLayout;
FieldSpans SpansOf(const TextLayout& layout);
FieldSpans SpansOf(std::string_view text);  // the same, for a text read here

// A set of fields, bit IndexOf(Field).
using FieldSet = std::bitset<kFieldCount>;

// The fields fed by the characters from `start` to `end` (exclusive): a selection. Needs
// start < end: an empty range holds no character, so a caret is asked with FieldsAtCaret.
FieldSet FieldsIn(const FieldSpans& spans, std::size_t start, std::size_t end);

// The fields fed by the character after a caret at `position`; where that character feeds
// none (a space, the end of a word, the end of the text), those fed by the character before it,
// so that a caret just behind a word still names the word's fields.
FieldSet FieldsAtCaret(const FieldSpans& spans, std::size_t position);

}  // namespace quillmark
