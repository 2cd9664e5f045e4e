// SPDX-License-Identifier: MIT
// The notes on words that are not eight upper-case hexadecimal digits, and their wording.

#include "decoder/word_notes.h"

#include <algorithm>

#include "decoder/text_layout.h"

namespace quillmark {

namespace {

constexpr std::size_t kWordWidth = 8;

std::string Plural(std::size_t count, std::string_view one) {
    return std::to_string(count) + " " + std::string(one) + (count == 1 ? "" : "s");
}

// A visible ASCII character in quotes; quotes, markup characters and everything else by code
// point, so that a note never carries markup into a tooltip or a screen reader.
std::string CharacterName(char32_t c) {
    if (c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '&') {
        std::string quoted(3, '"');
        quoted[1] = static_cast<char>(c);
        return quoted;
    }
    // "U+" and the code point in upper-case hexadecimal, at least four digits; written by hand,
    // as a formatting call would bring the whole of printf into the web page's module.
    std::string name = "U+";
    int shift = 28;
    while (shift > 12 && (c >> shift) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) name += "0123456789ABCDEF"[(c >> shift) & 0xF];
    return name;
}

// What is wrong with a word, or nothing when it is eight upper-case hexadecimal digits.
std::string Problem(int k, const WordPlace& word) {
    const std::string subject = "word " + std::to_string(k);
    if (word.count == 0) {
        if (k == 1) return subject + " is empty: the text starts with a space";
        if (word.spaceAfter == kNoPlace) return subject + " is empty: the text ends with a space";
        if (word.lineBreak)
            return subject + " is empty: a line ends with a space and the next begins with one";
        return subject + " is empty: two spaces in a row";
    }
    if (word.tabs > 0)
        return subject + " holds " +
               (word.tabs == 1 ? std::string("a tab") : Plural(word.tabs, "tab")) +
               ": only spaces separate words";
    if (word.count != kWordWidth && word.joinedByBreak)
        return subject + " has " + Plural(word.count, "character") +
               ": two words joined by a line break?";
    if (word.foreign.index != 0)
        return subject + ", character " + std::to_string(word.foreign.index) + " is " +
               CharacterName(word.foreign.character) + ": not a hexadecimal digit";
    if (word.count != kWordWidth)
        return subject + " has " + Plural(word.count, "character") + ", not " +
               std::to_string(kWordWidth);
    if (word.lowerDigit)
        return subject + (word.upperLetter ? " has lower-case digits" : " is in lower case") +
               ": only upper-case digits are read";
    return {};
}

}  // namespace

std::vector<WordNote> WordNotesOf(const TextLayout& layout) {
    std::vector<WordNote> notes;
    if (!layout.AnyCharacter()) return notes;
    for (int k = 1; k <= kLastWord; ++k) {
        const WordPlace& word = layout.Place(k);
        if (!word.present) break;
        std::string problem = Problem(k, word);
        if (problem.empty()) continue;
        WordNote note{k, {}, std::move(problem), {}};
        if (word.count == 0) {
            note.span = {word.start, 0};
            note.mark = word.spaceAfter != kNoPlace ? TextSpan{word.spaceAfter, 1}
                                                    : TextSpan{word.spaceBefore, 1};
        } else {
            const std::size_t first = word.runs.front().start;
            note.span = {first, word.runs.back().end() - first};
            note.mark = note.span;
        }
        notes.push_back(std::move(note));
    }
    return notes;
}

std::vector<WordNote> WordNotesOf(std::string_view text) {
    TextLayout layout;
    layout.Read(text);
    return WordNotesOf(layout);
}

std::span<const WordNote> NotesAt(const std::vector<WordNote>& notes, std::size_t position) {
    // Marks follow the words through the text, so the notes on one character stand together.
    const auto covers = [position](const WordNote& note) { return note.mark.contains(position); };
    const auto first = std::find_if(notes.begin(), notes.end(), covers);
    const auto end = std::find_if_not(first, notes.end(), covers);
    // From a pointer and a count: the page's older standard library has no span of iterators.
    return {notes.data() + (first - notes.begin()), static_cast<std::size_t>(end - first)};
}

}  // namespace quillmark
