// SPDX-License-Identifier: MIT
// The word and characters behind every decoded field, cut exactly as the decoder cuts them.

#include "decoder/provenance.h"

#include "decoder/utf8.h"

namespace quillmark {

namespace {

std::size_t CharCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < text.size(); pos += utf8::CharSize(text.substr(pos))) ++count;
    return count;
}

Source SourceOfCut(const DataWords& words, int word, From of, Cut cut) {
    const std::size_t slot = static_cast<std::size_t>(word);
    const std::string& whole = of == From::Word ? words.HexWords[slot] : words.BinWords[slot];
    Source source{word, of, 1, 0, CutOf(whole, cut), false};
    source.length = CharCount(source.text);
    if (cut.take == Take::Mid) source.start = cut.start;
    if (cut.take == Take::Right) source.start = CharCount(whole) - source.length + 1;
    return source;
}

// A digit word gave a digit when one of its digit characters is not "0".
bool GaveDigit(const Source& source) {
    return source.text.find_first_not_of('0') != std::string::npos;
}

std::string Range(std::size_t first, std::size_t last) {
    return first == last ? std::to_string(first)
                         : std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

FieldSources SourcesOf(const DataWords& words) {
    FieldSources sources;
    for (const FieldRow& row : kFields) {
        std::vector<Source>& list = sources[IndexOf(row.field)];
        for (int word = row.word; word <= row.lastWord; ++word) {
            Source source = SourceOfCut(words, word, row.from, row.cut);
            if (row.shown == Shown::DialedDigits) {
                if (!GaveDigit(source)) continue;
                source.lastFirst = true;
            }
            list.push_back(std::move(source));
        }
    }
    return sources;
}

std::string_view OfName(From of) { return of == From::Bits ? "bits" : "word"; }

std::string SourceText(const Source& source) {
    const std::string word = "word " + std::to_string(source.word);
    const std::string_view what = source.of == From::Bits ? "bit characters" : "characters";
    if (source.length == 0) {
        const std::string subject = source.of == From::Bits ? "the bit string of " + word : word;
        if (source.start <= 1) return subject + " is empty";
        return subject + " ends before character " + std::to_string(source.start);
    }
    const std::size_t last = source.start + source.length - 1;
    std::string text = word + ", " +
                       std::string(source.length == 1 ? what.substr(0, what.size() - 1) : what) +
                       " " + Range(source.start, last);
    if (source.lastFirst && source.length > 1)
        text += ", read from " + std::to_string(last) + " to " + std::to_string(source.start);
    return text + ": " + source.text;
}

std::string SourcesText(Field field, const std::vector<Source>& sources) {
    if (sources.empty()) {
        const FieldRow& row = RowOf(field);
        return "words " +
               Range(static_cast<std::size_t>(row.word), static_cast<std::size_t>(row.lastWord)) +
               ", characters " + Range(row.cut.start, row.cut.start + row.cut.length - 1) +
               ": no digit";
    }
    std::string text;
    for (const Source& source : sources) {
        if (!text.empty()) text += '\n';
        text += SourceText(source);
    }
    return text;
}

}  // namespace quillmark
