// SPDX-License-Identifier: MIT
#pragma once
// How one decoded message is written: the clipboard report with LF line ends, or a JSON line.

#include <array>
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

// Writes one JSON object and LF per message: file, line (in --lines mode), the fifteen field
// texts, PointersDiffer and the raw codes, compact, as the JSON library writes them. Always
// valid UTF-8: bytes that are not become U+FFFD.
class JsonRecords {
public:
    explicit JsonRecords(bool withLine);
    JsonRecords(const JsonRecords&) = delete;
    JsonRecords& operator=(const JsonRecords&) = delete;

    void Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin);

private:
    bool withLine_;
    std::string file_;      // the input of the last record
    std::string fileJson_;  // its name as a JSON string
};

}  // namespace quillmark::cli
