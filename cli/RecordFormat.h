// SPDX-License-Identifier: MIT
#pragma once
// How one decoded message is written: the clipboard report with LF line ends, or a JSON line.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

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
// texts, PointersDiffer and the raw codes. Always valid UTF-8: bytes that are not become U+FFFD.
class JsonRecords {
public:
    explicit JsonRecords(bool withLine);
    JsonRecords(const JsonRecords&) = delete;
    JsonRecords& operator=(const JsonRecords&) = delete;

    void Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin);

private:
    static constexpr std::size_t kTextCount = 21;  // file, fifteen fields, five codes

    // One record is built once and refilled for every message, keeping its keys in order
    // and its strings' storage.
    nlohmann::ordered_json record_;
    std::array<std::string*, kTextCount> texts_{};
    nlohmann::ordered_json* line_ = nullptr;
    nlohmann::ordered_json* pointersDiffer_ = nullptr;
};

}  // namespace quillmark::cli
