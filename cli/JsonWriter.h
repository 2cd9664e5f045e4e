// SPDX-License-Identifier: MIT
#pragma once
#include <string>
#include <string_view>

#include "cli/RecordFormat.h"

namespace quillmark::cli {

// One JSON object and LF per message: file, line (with LineKey::Written), bug (--log), the
// field texts,
// PointersDiffer and the raw codes of the looked-up fields (kCodeFields), written as the JSON
// library writes them (no blanks, only the characters JSON needs escaped, the rest as UTF-8).
// Always valid UTF-8: a file name whose bytes are not becomes U+FFFD where they break; field texts
// always are. With Sources::Shown the object ends with "sources": for every field key a list
// (always a list, so that every field has one shape) of {"word", "of" ("word" or "bits"), "start"
// (1-based character), "length" (characters), "text", and "note" where the word is not eight
// upper-case hexadecimal digits}: one entry per field, one per digit word that gave a digit for
// DigsDialed (none when no digit was dialed).
class JsonWriter final : public RecordWriter {
public:
    enum class LineKey { Omitted, Written };

    explicit JsonWriter(LineKey lineKey, Sources sources = Sources::Omitted);

    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override;
    bool ShowsSources() const override { return sources_ == Sources::Shown; }
    std::string_view Separator() const override { return {}; }

private:
    LineKey lineKey_;
    Sources sources_;
    bool fileKnown_ = false;
    std::string file_;  // the input of the last record, as given
    // The record's opening with the file as a JSON string, made once per input.
    std::string fileJson_;
    std::string head_;  // --log: the line and the BUG word, as JSON
};

// The text as a JSON string, quotes included, with the escapes the JSON library writes; text
// that is not valid UTF-8 goes through the library itself, which puts U+FFFD where it breaks.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace quillmark::cli
