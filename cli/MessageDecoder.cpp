// SPDX-License-Identifier: MIT
#include "cli/MessageDecoder.h"

#include "decoder/field_catalogue.h"

namespace quillmark::cli {
namespace {

// Keeps the storage of ordinary records from message to message, but gives back what an
// unusually long word took, so one huge message does not hold memory for the rest of the run.
void GiveBackLarge(std::string& text) {
    if (text.capacity() > 64 * 1024) {
        std::string().swap(text);
    }
}

}  // namespace

MessageDecoder::MessageDecoder(bool json, bool lines) {
    if (json) {
        json_.emplace(lines);
    }
}

void MessageDecoder::Append(std::string& out, std::string_view text, const MessageOrigin& origin,
                            bool firstRecord) {
    // The same record as the window's reader and decoder give, without their word arrays.
    DecodeText(text, fields_);
    const DecodedFields& fields = fields_;

    if (json_) {
        json_->Append(out, fields, origin);
    } else {
        if (!firstRecord) {
            out += '\n';
        }
        AppendTextReport(out, fields);
    }
    Release();
}

void MessageDecoder::Release() {
    for (const FieldRow& row : kFields) {
        GiveBackLarge(fields_.*row.member);
        if (row.code != nullptr) {
            GiveBackLarge(fields_.Codes.*row.code);
        }
    }
}

}  // namespace quillmark::cli
