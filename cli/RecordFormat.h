#pragma once
// How one decoded message is written: the clipboard report with LF line ends, or a JSON line.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "decoder/decoder.h"

namespace quillmark::cli {

// The fifteen lines of the window's "Copy Results" report, each ended by LF instead of CR LF.
void AppendTextReport(std::string& out, const DecodedFields& fields);

// Where a message came from: the input's name as given, and its line in --lines mode.
struct MessageOrigin {
    std::string_view file;
    std::optional<std::uint64_t> line;
};

// One JSON object and LF: file, line, the fifteen field texts, PointersDiffer and the raw
// codes. Always valid UTF-8: bytes that are not become U+FFFD.
void AppendJsonRecord(std::string& out, const DecodedFields& fields, const MessageOrigin& origin);

}  // namespace quillmark::cli
