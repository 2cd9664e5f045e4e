// SPDX-License-Identifier: MIT
// The word and characters behind every decoded field, cut exactly as the decoder cuts them.

#include "decoder/provenance.h"

#include "decoder/bits.h"
#include "decoder/text_layout.h"
#include "decoder/utf8.h"

namespace quillmark {

namespace {

Source SourceOfCut(const TextLayout& layout, int word, From of, Cut cut, std::string& bits) {
    std::string_view whole = layout[word];
    if (of == From::Bits) {
        if (layout.HasBits()) {
            whole = layout.Bits(word);
        } else {
            bits.clear();
            AppendBits(bits, whole);
            whole = bits;
        }
    }
    Source source{word, of, 1, 0, std::string(CutView(whole, cut)), false};
    source.length = utf8::CharCount(source.text);
    if (cut.take == Take::Mid) source.start = cut.start;
    if (cut.take == Take::Right) source.start = utf8::CharCount(whole) - source.length + 1;
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
    TextLayout layout;
    layout.Take(words);
    return SourcesOf(layout);
}

FieldSources SourcesOf(const TextLayout& layout) {
    FieldSources sources;
    std::string bits;
    for (const FieldRow& row : kFields) {
        std::vector<Source>& list = sources[IndexOf(row.field)];
        for (int word = row.word; word <= row.lastWord; ++word) {
            Source source = SourceOfCut(layout, word, row.from, row.cut, bits);
            if (ReadsRun(row) && !GaveDigit(source)) continue;
            source.lastFirst = row.cut.lastFirst;
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
