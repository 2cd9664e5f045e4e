// SPDX-License-Identifier: MIT
#pragma once
// Decodes the text of one message and writes its record; one per thread, since it keeps its
// decoded record and JSON record (and their storage) from message to message.

#include <optional>
#include <string>
#include <string_view>

#include "cli/RecordFormat.h"
#include "decoder/decoder.h"

namespace quillmark::cli {

class MessageDecoder {
public:
    MessageDecoder(bool json, bool lines);

    // Decodes the text as the window decodes its input box and appends the record to `out`;
    // in report form an empty line goes first unless this is the run's first record.
    void Append(std::string& out, std::string_view text, const MessageOrigin& origin,
                bool firstRecord);

private:
    void Release();

    DecodedFields fields_;
    std::optional<JsonRecords> json_;
};

}  // namespace quillmark::cli
