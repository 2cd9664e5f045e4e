// SPDX-License-Identifier: MIT
#pragma once
// Decodes the text of one message and writes its record; one per thread, since it keeps its
// decoded record, its storage and its writer from message to message.

#include <memory>
#include <string>
#include <string_view>

#include "cli/RecordFormat.h"
#include "decoder/decoder.h"
#include "decoder/record_view.h"

namespace quillmark::cli {

class MessageDecoder {
public:
    explicit MessageDecoder(std::unique_ptr<RecordWriter> writer);

    // Decodes the text as the window decodes its input box and appends the record to `out`;
    // with the sources of its fields when the writer shows them.
    void Append(std::string& out, std::string_view text, const MessageOrigin& origin);
    // The same for a text its reader has laid out already.
    void Append(std::string& out, const TextLayout& layout, const MessageOrigin& origin);
    // What stands between two records.
    std::string_view Separator() const { return writer_->Separator(); }

private:
    void Write(std::string& out, const MessageOrigin& origin) {
        if (showsSources_) {
            WriteExplained(out, origin);
        } else {
            writer_->Append(out, record_, nullptr, origin);
        }
    }
    void WriteExplained(std::string& out, const MessageOrigin& origin);

    RecordView record_;
    std::unique_ptr<RecordWriter> writer_;
    bool showsSources_;
};

}  // namespace quillmark::cli
