// SPDX-License-Identifier: MIT
// Fuzz target: any bytes through the word reader and the field decoder, whole and in pieces.
//
// Checks, beyond "no crash, no out-of-bounds read": the streaming reader fed in pieces cut
// where the input says gives the same words as reading the text at once, every text the
// decoder hands out is valid UTF-8, and the words and the record (from the arrays, and from a
// record kept from input to input) are those of the plain reference decoder.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/code_name.h"
#include "decoder/decoder.h"
#include "decoder/provenance.h"
#include "decoder/record_view.h"
#include "decoder/utf8.h"
#include "tests/support/FuzzCheck.h"
#include "tests/support/ReferenceDecoder.h"

namespace {

using quillmark::support::Require;

void RequireValid(std::string_view text, const char* what) {
    Require(quillmark::utf8::IsValid(text), what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmark;
    using reference::Characters;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    DataWords whole;
    ReadDataWords(text, whole);
    for (int k = 0; k <= kLastWord; ++k) {
        RequireValid(whole.HexWords[static_cast<std::size_t>(k)], "word text");
        RequireValid(whole.BinWords[static_cast<std::size_t>(k)], "bit string");
    }
    Require(whole.HexWords[0].empty() && whole.BinWords[0].empty(), "slot 0 stays empty");

    // Pieces: the byte values of the input pick the piece lengths (1..16), so the cuts fall
    // inside multi-byte characters as often as between them.
    DataWords pieces;
    DataWordReader reader(pieces);
    std::size_t pos = 0;
    std::size_t salt = 0;
    while (pos < size) {
        const std::size_t length = 1 + (data[salt++ % size] & 0x0F);
        const std::string_view piece = text.substr(pos, length);
        pos += piece.size();
        if (!reader.Feed(piece)) {
            Require(reader.Complete(), "Feed false only when complete");
            break;
        }
    }
    reader.Finish();
    Require(pieces.HexWords == whole.HexWords, "pieces give the same words");
    Require(pieces.BinWords == whole.BinWords, "pieces give the same bit strings");

    const DataWords referenceWords = reference::ReadWords(text);
    Require(whole.HexWords == referenceWords.HexWords, "reference: words");
    Require(whole.BinWords == referenceWords.BinWords, "reference: bit strings");

    const DecodedFields fields = DecodeCallRegister(whole);
    const DecodedFields expected = reference::Decode(referenceWords);
    for (const std::string& caption : CaptionsInLabelOrder(fields)) RequireValid(caption, "field");
    Require(fields.texts == expected.texts, "reference: texts");
    Require(fields.codes == expected.codes, "reference: codes");
    Require(fields.PointersDiffer == expected.PointersDiffer, "reference: pointer flag");
    Require(fields[Field::DigsDialed].size() <= 72 * 4, "at most 72 dialed digits");

    // A record kept from input to input, read as views of the text, gives the same texts,
    // codes, flag and report; a message of plain text gives a record of plain text.
    static RecordView view;
    view.Decode(text);
    DecodedFields viewed;
    view.CopyTo(viewed);
    Require(viewed.texts == expected.texts && viewed.codes == expected.codes,
            "views: texts and codes");
    Require(viewed.PointersDiffer == expected.PointersDiffer, "views: flag");
    std::string reportOfViews;
    AppendReport(reportOfViews, view, "\r\n");
    Require(reportOfViews == BuildReport(CaptionsInLabelOrder(expected)), "views: report");
    bool plainMessage = true;
    for (char c : text) plainMessage = plainMessage && IsPlainText(std::string_view(&c, 1));
    for (const std::string& shown : viewed.texts)
        Require(!plainMessage || IsPlainText(shown), "views: plain message, plain record");

    // Every source is valid text, and a looked-up field's source holds exactly its code.
    const FieldSources sources = SourcesOf(whole);
    for (const FieldRow& row : kFields) {
        for (const Source& source : sources[IndexOf(row.field)]) {
            RequireValid(source.text, "source text");
            RequireValid(SourceText(source), "source line");
            Require(Characters(source.text).size() == source.length, "source length in characters");
        }
        if (HasCode(row))
            Require(sources[IndexOf(row.field)].front().text == fields.Code(row.field),
                    "source is the code");
    }

    const std::string report = BuildReport(CaptionsInLabelOrder(fields));
    RequireValid(report, "report");
    RequireValid(TrimFirstWord(text), "trimmed text");

    // The text helpers on raw bytes, with positions taken from the input, against the
    // characters of the whole text decoded front to back.
    const std::size_t start = size > 0 ? data[0] % 40 : 1;
    const std::size_t count = size > 1 ? data[1] % 40 : 0;
    const std::vector<std::string> chars = Characters(text);
    std::string mid, right;
    const std::size_t first = std::max<std::size_t>(start, 1) - 1;
    for (std::size_t i = first; i < chars.size() && i < first + count; ++i) mid += chars[i];
    for (std::size_t i = chars.size() - std::min(count, chars.size()); i < chars.size(); ++i)
        right += chars[i];
    Require(MidText(text, start, count) == mid, "MidText counts characters");
    Require(RightText(text, count) == right, "RightText counts characters");
    const int value = BinVal(text);
    Require(value >= 0 && value <= 31, "BinVal range");
    RequireValid(Binary(text.substr(0, 4)), "Binary");
    return 0;
}
