// SPDX-License-Identifier: MIT
#include "cli/JsonWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/SourceNotes.h"
#include "decoder/byte_scan.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

// The escape the JSON library writes for a byte, or nothing: '"', '\\', the short forms of five
// control characters, \u00xx (lower case) for the other bytes below 0x20.
std::string_view EscapeOf(unsigned char c, std::array<char, 6>& buffer) {
    switch (c) {
        case '"': return "\\\"";
        case '\\': return "\\\\";
        case '\b': return "\\b";
        case '\f': return "\\f";
        case '\n': return "\\n";
        case '\r': return "\\r";
        case '\t': return "\\t";
        default:
            if (c >= 0x20) {
                return {};
            }
            const auto [high, low] = bytes::LowerHexPair(c);
            buffer = {'\\', 'u', '0', '0', high, low};
            return {buffer.data(), buffer.size()};
    }
}

// How a record's texts go between their quotes: copied as they stand (no byte needs an
// escape), or escaped as the JSON library escapes valid UTF-8 (bytes beyond ASCII unchanged).
enum class Texts { Copied, Escaped };

std::size_t EscapedSize(std::string_view text) {
    std::size_t size = text.size();
    std::array<char, 6> buffer;
    for (std::size_t pos = bytes::PlainJsonPrefix(text); pos < text.size(); ++pos) {
        const std::string_view escape = EscapeOf(static_cast<unsigned char>(text[pos]), buffer);
        size += escape.empty() ? 0 : escape.size() - 1;
    }
    return size;
}

char* CopyEscaped(char* next, std::string_view text) {
    const std::size_t plain = bytes::PlainJsonPrefix(text);
    next = bytes::CopyText(next, text.substr(0, plain));
    std::array<char, 6> buffer;
    for (std::size_t pos = plain; pos < text.size(); ++pos) {
        const std::string_view escape = EscapeOf(static_cast<unsigned char>(text[pos]), buffer);
        if (escape.empty()) {
            *next++ = text[pos];
        } else {
            next = bytes::CopyText(next, escape);
        }
    }
    return next;
}

template <Texts kTexts>
std::size_t TextSize(std::string_view text) {
    return kTexts == Texts::Copied ? text.size() : EscapedSize(text);
}

template <Texts kTexts>
char* PutText(char* next, std::string_view text) {
    return kTexts == Texts::Copied ? bytes::CopyText(next, text) : CopyEscaped(next, text);
}

// ---- The record: openings known at build time, then the texts -------------------------------

// What stands before a value: the quote that closes the value before (unless first), the
// comma, the key and the value's opening quote.
struct Opening {
    std::array<char, 64> text{};
    std::size_t size = 0;
};

constexpr Opening MakeOpening(std::string_view before, std::string_view key,
                              std::string_view lead = {}) {
    Opening opening;
    for (std::string_view part : {before, key, std::string_view("\":\""), lead})
        for (char c : part) opening.text[opening.size++] = c;
    return opening;
}

template <std::size_t I>
constexpr Opening kFieldOpening = MakeOpening(I == 0 ? ",\"" : "\",\"", kFields[I].key);
template <std::size_t I>
constexpr Opening kCodeOpening = MakeOpening(I == 0 ? "\"" : "\",\"", RowOf(kCodeFields[I]).key);

constexpr std::string_view kPointersSame = "\",\"PointersDiffer\":false,\"codes\":{";
constexpr std::string_view kPointersDiffer = "\",\"PointersDiffer\":true,\"codes\":{";
constexpr std::string_view kRecordEnd = "\"}}\n";
constexpr std::string_view kCodesEnd = "\"}";  // the sources follow, then "}\n"

// The bytes of a record besides its head, its texts and the pointer flag.
constexpr std::size_t kFrame = [] {
    const auto sum = []<std::size_t... F, std::size_t... C>(std::index_sequence<F...>,
                                                            std::index_sequence<C...>) {
        return (kFieldOpening<F>.size + ...) + (kCodeOpening<C>.size + ...);
    };
    return sum(std::make_index_sequence<kFields.size()>(),
               std::make_index_sequence<kCodeFields.size()>());
}();

// Copied at its size, known when compiling: a few stores, not a call.
template <const Opening& kOpening>
char* CopyOpening(char* next) {
    std::memcpy(next, kOpening.text.data(), kOpening.size);
    return next + kOpening.size;
}

// One JSON record, written in one piece of the size it will have: its head (the file, and the
// line or nothing, as JSON already), then every field text, the pointer flag and the codes,
// each behind its opening, then `end`.
template <Texts kTexts>
void AppendRecord(std::string& out, std::string_view file, std::string_view line,
                  const RecordView& record, std::string_view end) {
    const std::string_view pointers = record.PointersDiffer() ? kPointersDiffer : kPointersSame;
    std::size_t size = file.size() + line.size() + kFrame + pointers.size() + end.size();
    for (const FieldRow& row : kFields)
        for (std::string_view part : record.Shown(row.field).parts) size += TextSize<kTexts>(part);
    for (Field field : kCodeFields) size += TextSize<kTexts>(record.Code(field));
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = bytes::CopyText(bytes::CopyText(out.data() + start, file), line);
    const auto putFields = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((next = CopyOpening<kFieldOpening<I>>(next),
          next = PutText<kTexts>(next, record.Shown(kFields[I].field).parts[0]),
          next = PutText<kTexts>(next, record.Shown(kFields[I].field).parts[1]),
          next = PutText<kTexts>(next, record.Shown(kFields[I].field).parts[2])),
         ...);
    };
    const auto putCodes = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((next = PutText<kTexts>(CopyOpening<kCodeOpening<I>>(next), record.Code(kCodeFields[I]))),
         ...);
    };
    putFields(std::make_index_sequence<kFields.size()>());
    next = bytes::CopyText(next, pointers);
    putCodes(std::make_index_sequence<kCodeFields.size()>());
    bytes::CopyText(next, end);
}

// A record whose texts need no escape, the usual one: flattened, so that its fifty-odd short
// copies are written in place rather than called.
[[gnu::flatten]] void AppendCopiedRecord(std::string& out, std::string_view file,
                                         std::string_view line, const RecordView& record,
                                         std::string_view end) {
    AppendRecord<Texts::Copied>(out, file, line, record, end);
}

// ---- A record of a fixed shape: most texts copied at sizes known when compiling ------------

// The opening of a field, with the TN hint in it where the field's text starts with that.
template <std::size_t I>
constexpr Opening kFixedOpening =
    MakeOpening(I == 0 ? ",\"" : "\",\"", kFields[I].key,
                kFields[I].shown == Shown::TnHint ? kTnHint : std::string_view());

// The bytes of such a record that do not vary: openings, texts of a fixed size, codes.
constexpr std::size_t kFixedFrame = [] {
    const auto sum = []<std::size_t... F, std::size_t... C>(std::index_sequence<F...>,
                                                            std::index_sequence<C...>) {
        return ((kFixedOpening<F>.size +
                 (FixedPiecesOf(kFields[F]).fixed ? EightDigitCutSize(kFields[F]) : 0)) +
                ...) +
               ((kCodeOpening<C>.size + EightDigitCutSize(RowOf(kCodeFields[C]))) + ...);
    };
    return sum(std::make_index_sequence<kFields.size()>(),
               std::make_index_sequence<kCodeFields.size()>());
}();

template <std::size_t Size>
char* CopyFixed(char* next, std::string_view text) {
    std::memcpy(next, text.data(), Size);
    return next + Size;
}

// A record of a fixed shape (RecordView::FixedShape), which needs no escape: a cut piece is
// copied at its fixed size, the TN hint stands in its field's opening, and only names,
// pointers and dialed digits are measured.
[[gnu::flatten]] void AppendFixedRecord(std::string& out, std::string_view file,
                                        std::string_view line, const RecordView& record,
                                        std::string_view end) {
    const std::string_view pointers = record.PointersDiffer() ? kPointersDiffer : kPointersSame;
    std::size_t size = file.size() + line.size() + kFixedFrame + pointers.size() + end.size();
    const auto measure = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((size += FixedPiecesOf(kFields[I]).fixed ? 0 : record.Shown(kFields[I].field).Size()),
         ...);
    };
    measure(std::make_index_sequence<kFields.size()>());
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = bytes::CopyText(bytes::CopyText(out.data() + start, file), line);
    const auto putField = [&]<std::size_t I>(std::integral_constant<std::size_t, I>) {
        // The hint is in the opening: the text goes on after it.
        constexpr std::size_t kFirst = kFields[I].shown == Shown::TnHint ? 1 : 0;
        next = CopyFixedShapeText<I, kFirst>(CopyOpening<kFixedOpening<I>>(next),
                                             record.Shown(kFields[I].field));
    };
    const auto putFields = [&]<std::size_t... I>(std::index_sequence<I...>) {
        (putField(std::integral_constant<std::size_t, I>()), ...);
    };
    const auto putCodes = [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((next = CopyFixed<EightDigitCutSize(RowOf(kCodeFields[I]))>(
              CopyOpening<kCodeOpening<I>>(next), record.Code(kCodeFields[I]))),
         ...);
    };
    putFields(std::make_index_sequence<kFields.size()>());
    next = bytes::CopyText(next, pointers);
    putCodes(std::make_index_sequence<kCodeFields.size()>());
    bytes::CopyText(next, end);
}

// ,"sources":{...}: for every field key the list of its sources, as the JSON library writes it.
void AppendSources(std::string& out, const Explanation& explanation) {
    using Json = nlohmann::ordered_json;
    Json sources = Json::object();
    for (const FieldRow& row : kFields) {
        Json& list = sources[std::string(row.key)] = Json::array();
        for (const Source& source : explanation.sources[IndexOf(row.field)]) {
            Json entry{{"word", source.word},
                       {"of", std::string(OfName(source.of))},
                       {"start", source.start},
                       {"length", source.length},
                       {"text", source.text}};
            if (const std::string& note = NoteOf(source, explanation.notes); !note.empty())
                entry["note"] = note;
            list.push_back(std::move(entry));
        }
    }
    out += ",\"sources\":";
    // The library puts U+FFFD where a text breaks, as AppendJsonString does.
    out += sources.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    if (utf8::IsValid(text)) {
        out += '"';
        const std::size_t start = out.size();
        out.resize(start + EscapedSize(text));
        CopyEscaped(out.data() + start, text);
        out += '"';
        return;
    }
    // The library puts U+FFFD where the text breaks.
    out += nlohmann::json(std::string(text))
               .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

JsonWriter::JsonWriter(LineKey lineKey, Sources sources) : lineKey_(lineKey), sources_(sources) {}

void JsonWriter::Append(std::string& out, const RecordView& record, const Explanation* sources,
                        const MessageOrigin& origin) {
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileJson_.assign("{\"file\":");
        AppendJsonString(fileJson_, file_);
        fileKnown_ = true;
    }
    // The line and a BUG word of plain bytes (as they are) go into one buffer on the stack.
    constexpr std::size_t kLineRoom = 32;
    constexpr std::string_view kBugKey = ",\"bug\":\"";
    std::array<char, 320> lineText;
    std::string_view line;
    if (lineKey_ == LineKey::Written) {
        constexpr std::string_view kLineKey = ",\"line\":";
        char* next = std::copy(kLineKey.begin(), kLineKey.end(), lineText.data());
        next = std::to_chars(next, lineText.data() + kLineRoom, origin.line.value_or(0)).ptr;
        line = {lineText.data(), static_cast<std::size_t>(next - lineText.data())};
    }
    // A BUG word the log reader found is "BUG" and decimal digits: nothing in it is escaped.
    if (!origin.bug.empty() &&
        line.size() + kBugKey.size() + origin.bug.size() + 1 <= lineText.size() &&
        (origin.message != nullptr || bytes::IsPlainJson(origin.bug))) {
        char* next = lineText.data() + line.size();
        next = bytes::CopyText(bytes::CopyText(next, kBugKey), origin.bug);
        *next++ = '"';
        line = {lineText.data(), static_cast<std::size_t>(next - lineText.data())};
    } else if (!origin.bug.empty()) {
        head_.assign(line);
        head_ += ",\"bug\":";
        if (bytes::IsPlainJson(origin.bug)) {
            // A BUG word is ASCII letters and digits: no escape, no look at its UTF-8.
            head_ += '"';
            head_ += origin.bug;
            head_ += '"';
        } else {
            AppendJsonString(head_, origin.bug);
        }
        line = head_;
    }
    // A message without a byte that JSON escapes gives a record without one.
    const bool copied = record.ReadFromText() &&
                        (record.Layout().EightDigitWords() || bytes::IsPlainJson(record.Message()));
    const std::string_view end = sources != nullptr ? kCodesEnd : kRecordEnd;
    if (record.FixedShape()) {
        AppendFixedRecord(out, fileJson_, line, record, end);
    } else if (copied) {
        AppendCopiedRecord(out, fileJson_, line, record, end);
    } else {
        AppendRecord<Texts::Escaped>(out, fileJson_, line, record, end);
    }
    if (sources != nullptr) {
        AppendSources(out, *sources);
        out += "}\n";
    }
}

}  // namespace quillmark::cli
