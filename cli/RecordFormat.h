// SPDX-License-Identifier: MIT
#pragma once
// How one decoded message is written: the clipboard report with LF line ends, or a JSON line.
// The form is chosen once from the options; each thread that decodes gets its own writer.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/CommandLine.h"
#include "decoder/decoder.h"

namespace quillmark::cli {

// Where a message came from: the input's name as given, and its line in --lines mode.
struct MessageOrigin {
    std::string_view file;
    std::optional<std::uint64_t> line;
};

class RecordWriter {
public:
    virtual ~RecordWriter() = default;
    // Appends the record of one message.
    virtual void Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) = 0;
    // What stands between two records of a run.
    virtual std::string_view Separator() const = 0;
};

// Makes one writer of the form chosen from the options.
using RecordWriterFactory = std::function<std::unique_ptr<RecordWriter>()>;
RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options);

// The window's "Copy Results" report, each line ended by `lineEnd` instead of CR LF.
void AppendReport(std::string& out, const ResultCaptions& captions, std::string_view lineEnd);

// The fifteen report lines ended by LF; records are separated by one empty line.
class ReportWriter final : public RecordWriter {
public:
    void Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) override;
    std::string_view Separator() const override { return "\n"; }
};

// One JSON object and LF per message: file, line (with LineKey::Written), the fifteen field
// texts, PointersDiffer and the raw codes. Always valid UTF-8: bytes that are not become U+FFFD.
class JsonWriter final : public RecordWriter {
public:
    enum class LineKey { Omitted, Written };

    explicit JsonWriter(LineKey lineKey);
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) override;
    std::string_view Separator() const override { return {}; }

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
