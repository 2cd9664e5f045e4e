// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include <charconv>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <nlohmann/json.hpp>

#include "decoder/field_catalogue.h"
#include "decoder/short_copy.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

// The codes inside "codes", in output order.
struct CodeKey {
    std::string_view key;
    Field field;
    std::string FieldCodes::*code;
};
constexpr std::array<CodeKey, 5> kCodeKeys{{{"MainPM", Field::MainPM, &FieldCodes::MainPM},
                                            {"AuxPM", Field::AuxPM, &FieldCodes::AuxPM},
                                            {"TermType", Field::TermType, &FieldCodes::TermType},
                                            {"OrigType", Field::OrigType, &FieldCodes::OrigType},
                                            {"Queue", Field::Queue, &FieldCodes::Queue}}};

constexpr bool CodesOfLookedUpFields() {
    for (const CodeKey& code : kCodeKeys)
        if (RowOf(code.field).code != code.code) return false;
    return true;
}
static_assert(CodesOfLookedUpFields(), "a code key names another field's code");

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
            constexpr std::string_view kHex = "0123456789abcdef";
            buffer = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0x0F]};
            return {buffer.data(), buffer.size()};
    }
}

// Bytes JSON takes as they stand: ASCII from the blank on, except '"' and '\\'.
constexpr std::array<bool, 256> kPlainJson = [] {
    std::array<bool, 256> plain{};
    for (std::size_t c = 0x20; c < 0x80; ++c) plain[c] = c != '"' && c != '\\';
    return plain;
}();

// Bytes before the first one that needs an escape (a control character, '"' or '\\') or that
// is not ASCII, looked at eight at a time.
std::size_t PlainAsciiPrefix(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    // The top bit of each byte that is zero, or below 0x20, or not ASCII; never set by a neighbour.
    const auto zero = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    const auto control = [](std::uint64_t x) { return ~(((x & kLow7) + kOnes * 0x60) | x | kLow7); };
    const auto clean = [&](std::size_t at) {
        std::uint64_t block;
        std::memcpy(&block, text.data() + at, 8);
        return (zero(block ^ (kOnes * '"')) | zero(block ^ (kOnes * '\\')) | control(block) | (block & ~kLow7)) == 0;
    };
    std::size_t pos = 0;
    while (pos + 8 <= text.size() && clean(pos)) {
        pos += 8;
    }
    // The last few bytes are looked at as the last eight; a shorter text byte by byte.
    if (pos < text.size() && pos + 8 > text.size() && text.size() >= 8 && clean(text.size() - 8)) {
        pos = text.size();
    }
    while (pos < text.size() && kPlainJson[static_cast<unsigned char>(text[pos])]) {
        ++pos;
    }
    return pos;
}

// Whether no byte of the text needs an escape or is beyond ASCII, sixteen bytes at a time.
bool PlainJson(std::string_view text) {
    std::size_t pos = 0;
#if defined(__SSE2__)
    for (; pos + 16 <= text.size(); pos += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
        // Compared as signed bytes, those beyond ASCII are below the blank too.
        const __m128i escaped = _mm_or_si128(_mm_cmplt_epi8(block, _mm_set1_epi8(0x20)),
                                             _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('"')),
                                                          _mm_cmpeq_epi8(block, _mm_set1_epi8('\\'))));
        if (_mm_movemask_epi8(escaped) != 0) {
            return false;
        }
    }
#endif
    const std::string_view rest = text.substr(pos);
    return PlainAsciiPrefix(rest) == rest.size();
}

// A record read alike whether its texts are strings (DecodedFields) or views (RecordView).
struct FieldsRecord {
    const DecodedFields& fields;
    bool Plain() const { return false; }  // filled by hand, it may hold anything
    TextParts Shown(const FieldRow& row) const { return {{fields.*row.member}}; }
    std::string_view Code(const CodeKey& code) const { return fields.Codes.*code.code; }
    bool PointersDiffer() const { return fields.PointersDiffer; }
};
struct ViewRecord {
    const RecordView& record;
    bool Plain() const { return PlainJson(record.Message()); }
    const TextParts& Shown(const FieldRow& row) const { return record.Shown(row.field); }
    std::string_view Code(const CodeKey& code) const { return record.Code(code.field); }
    bool PointersDiffer() const { return record.PointersDiffer(); }
};

// Writes a record in place: room for the longest it can be is made first (an escape is at most
// six bytes for one), and what is left over is cut off at the end.
class InPlaceText {
public:
    InPlaceText(std::string& out, std::size_t most) : out_(out), start_(out.size()) {
        out_.resize(start_ + most);
        next_ = out_.data() + start_;
    }
    void Raw(std::string_view text) { next_ = CopyText(next_, text); }
    // False, with the record unfinished, when the text is not valid UTF-8.
    bool String(const TextParts& text) {
        *next_++ = '"';
        for (std::string_view part : text.parts) {
            if (!Escaped(part)) {
                return false;
            }
        }
        *next_++ = '"';
        return true;
    }
    bool String(std::string_view text) { return String(TextParts{{text}}); }
    void Finish() { out_.resize(static_cast<std::size_t>(next_ - out_.data())); }
    void Abandon() { out_.resize(start_); }

private:
    // A character split between two parts is not valid UTF-8 in either: no part of a decoded
    // record splits one.
    bool Escaped(std::string_view text) {
        std::size_t pos = PlainAsciiPrefix(text);
        if (pos == text.size()) {
            Raw(text);
            return true;
        }
        std::size_t written = 0;
        std::array<char, 6> buffer;
        for (; pos < text.size(); ++pos) {
            const auto c = static_cast<unsigned char>(text[pos]);
            if (c >= 0x80) {
                const utf8::Scan scan = utf8::ScanChar(text.substr(pos));
                if (scan.status != utf8::Status::Valid) {
                    return false;
                }
                pos += scan.size - 1;
                continue;
            }
            const std::string_view escape = EscapeOf(c, buffer);
            if (escape.empty()) {
                continue;
            }
            Raw(text.substr(written, pos - written));
            Raw(escape);
            written = pos + 1;
        }
        Raw(text.substr(written));
        return true;
    }

    std::string& out_;
    std::size_t start_;
    char* next_;
};

// ---- Records of plain text: written as they are counted, with keys known at build time ----

// What stands before a value: the quote that closes the value before (unless first), the
// comma, the key and the value's opening quote.
struct Opening {
    std::array<char, 24> text{};
    std::size_t size = 0;
};

constexpr Opening MakeOpening(std::string_view before, std::string_view key) {
    Opening opening;
    for (std::string_view part : {before, key, std::string_view("\":\"")})
        for (char c : part) opening.text[opening.size++] = c;
    return opening;
}

template <std::size_t I>
constexpr Opening kFieldOpening = MakeOpening(I == 0 ? ",\"" : "\",\"", kFields[I].key);
template <std::size_t I>
constexpr Opening kCodeOpening = MakeOpening(I == 0 ? "\"" : "\",\"", kCodeKeys[I].key);

constexpr std::string_view kPointersSame = "\",\"PointersDiffer\":false,\"codes\":{";
constexpr std::string_view kPointersDiffer = "\",\"PointersDiffer\":true,\"codes\":{";
constexpr std::string_view kRecordEnd = "\"}}\n";

// The bytes of a plain record besides its head, its texts and the pointer flag.
constexpr std::size_t kPlainFrame = [] {
    return []<std::size_t... F, std::size_t... C>(std::index_sequence<F...>, std::index_sequence<C...>) {
        return (kFieldOpening<F>.size + ...) + (kCodeOpening<C>.size + ...) + kRecordEnd.size();
    }(std::make_index_sequence<kFields.size()>(), std::make_index_sequence<kCodeKeys.size()>());
}();

char* CopyOpening(char* next, const Opening& opening) {
    std::memcpy(next, opening.text.data(), opening.size);
    return next + opening.size;
}

char* CopyParts(char* next, const TextParts& text) {
    for (std::string_view part : text.parts) next = CopyText(next, part);
    return next;
}

// A record whose texts need no escape, after its head: every value in quotes as it stands.
template <class Record>
void AppendPlainRecord(std::string& out, const Record& record) {
    const std::string_view pointers = record.PointersDiffer() ? kPointersDiffer : kPointersSame;
    std::size_t size = kPlainFrame + pointers.size();
    for (const FieldRow& row : kFields) size += record.Shown(row).Size();
    for (const CodeKey& code : kCodeKeys) size += record.Code(code).size();
    const std::size_t start = out.size();
    out.resize(start + size);
    char* next = out.data() + start;
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((next = CopyParts(CopyOpening(next, kFieldOpening<I>), record.Shown(kFields[I]))), ...);
    }(std::make_index_sequence<kFields.size()>());
    next = CopyText(next, pointers);
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((next = CopyText(CopyOpening(next, kCodeOpening<I>), record.Code(kCodeKeys[I]))), ...);
    }(std::make_index_sequence<kCodeKeys.size()>());
    CopyText(next, kRecordEnd);
}

constexpr std::size_t MostJsonSize(std::size_t textSize) {
    return 2 + 6 * textSize;
}

// The record's parts in order: the fixed text between the values, and the values.
template <class Record, class RawPart, class TextPart>
void RecordParts(const Record& record, const RawPart& raw, const TextPart& text) {
    for (const FieldRow& row : kFields) {
        raw(",\"");
        raw(row.key);  // keys are plain ASCII names
        raw("\":");
        text(record.Shown(row));
    }
    raw(record.PointersDiffer() ? ",\"PointersDiffer\":true,\"codes\":{" : ",\"PointersDiffer\":false,\"codes\":{");
    for (const CodeKey& code : kCodeKeys) {
        raw(&code == &kCodeKeys.front() ? "\"" : ",\"");
        raw(code.key);
        raw("\":");
        text(TextParts{{record.Code(code)}});
    }
    raw("}}\n");
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    InPlaceText writer(out, MostJsonSize(text.size()));
    if (writer.String(text)) {
        writer.Finish();
        return;
    }
    writer.Abandon();
    out += nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void ReportWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin&) {
    AppendReport(out, fields, "\n");
}

void ReportWriter::Append(std::string& out, const RecordView& record, const MessageOrigin&) {
    AppendReport(out, record, "\n");
}

void ReportWriter::AppendWithSources(std::string& out, const DecodedFields& fields, const FieldSources& sources,
                                     const WordNoteTexts& notes, const MessageOrigin&) {
    // Each line as the report writes it (text that is not valid UTF-8 gets U+FFFD), then the
    // field's source lines below it.
    for (const FieldRow& row : kFields) {
        out += row.reportLabel;
        utf8::AppendSanitized(out, fields.*row.member);
        out += '\n';
        const std::string text = NotedSourcesText(row.field, sources[IndexOf(row.field)], notes);
        for (std::size_t begin = 0; begin <= text.size();) {
            const std::size_t end = std::min(text.find('\n', begin), text.size());
            out += "    ";
            utf8::AppendSanitized(out, std::string_view(text).substr(begin, end - begin));
            out += '\n';
            begin = end + 1;
        }
    }
}

JsonWriter::JsonWriter(LineKey lineKey, Sources sources) : lineKey_(lineKey), sources_(sources) {}

void JsonWriter::AppendWithSources(std::string& out, const DecodedFields& fields, const FieldSources& sources,
                                   const WordNoteTexts& notes, const MessageOrigin& origin) {
    Append(out, fields, origin);
    // The record ends in "}\n": the sources go inside its closing brace.
    out.resize(out.size() - 2);
    out += ",\"sources\":{";
    for (const FieldRow& row : kFields) {
        out += &row == &kFields.front() ? "\"" : ",\"";
        out += row.key;
        out += "\":[";
        bool first = true;
        for (const Source& source : sources[IndexOf(row.field)]) {
            out += first ? "{\"word\":" : ",{\"word\":";
            first = false;
            out += std::to_string(source.word);
            out += ",\"of\":\"";
            out += OfName(source.of);
            out += "\",\"start\":";
            out += std::to_string(source.start);
            out += ",\"length\":";
            out += std::to_string(source.length);
            out += ",\"text\":";
            AppendJsonString(out, source.text);
            AppendJsonNote(out, source, notes);
            out += '}';
        }
        out += ']';
    }
    out += "}}\n";
}

void JsonWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    Write(out, FieldsRecord{fields}, origin);
}

void JsonWriter::Append(std::string& out, const RecordView& record, const MessageOrigin& origin) {
    Write(out, ViewRecord{record}, origin);
}

template <class Record>
void JsonWriter::Write(std::string& out, const Record& record, const MessageOrigin& origin) {
    if (!fileKnown_ || origin.file != file_) {
        file_.assign(origin.file);
        fileJson_.clear();
        AppendJsonString(fileJson_, file_);
        fileKnown_ = true;
    }
    const bool withLine = lineKey_ == LineKey::Written;
    char digits[24];
    const std::string_view line(digits, withLine
        ? static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, origin.line.value_or(0)).ptr - digits)
        : 0);
    const auto head = [&](const auto& raw) {
        raw("{\"file\":");
        raw(fileJson_);
        if (withLine) {
            raw(",\"line\":");
            raw(line);
        }
    };

    std::size_t most = 0;
    const auto countRaw = [&most](std::string_view part) { most += part.size(); };
    head(countRaw);
    if (record.Plain()) {
        // No text needs an escape: the record is as long as its parts.
        InPlaceText writer(out, most);
        head([&writer](std::string_view part) { writer.Raw(part); });
        writer.Finish();
        AppendPlainRecord(out, record);
        return;
    }
    RecordParts(record, countRaw, [&](const TextParts& text) { most += MostJsonSize(text.Size()); });

    InPlaceText writer(out, most);
    bool valid = true;
    const auto writeRaw = [&writer](std::string_view part) { writer.Raw(part); };
    head(writeRaw);
    RecordParts(record, writeRaw, [&](const TextParts& text) { valid = valid && writer.String(text); });
    if (valid) {
        writer.Finish();
        return;
    }
    // A record filled by hand may hold any bytes: written again, each text as the library writes it.
    writer.Abandon();
    head([&out](std::string_view part) { out += part; });
    RecordParts(record, [&out](std::string_view part) { out += part; }, [&out](const TextParts& text) {
        std::string whole;
        text.AssignTo(whole);
        AppendJsonString(out, whole);
    });
}

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    const Sources sources = options.explain ? Sources::Shown : Sources::Omitted;
    if (!options.json) {
        return [sources] { return std::make_unique<ReportWriter>(sources); };
    }
    const auto lineKey = options.lines ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey, sources] { return std::make_unique<JsonWriter>(lineKey, sources); };
}

}  // namespace quillmark::cli
