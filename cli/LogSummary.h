// SPDX-License-Identifier: MIT
#pragma once
// --summary: counts over every BUG message of a run, in place of the records: how many
// messages, short dumps, notes and skipped lines, and for each field shown by a name how many
// messages have each name (AUX PM under its Main PM), largest first. As a table to read, or as
// one JSON object keyed by the field keys.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "decoder/field_catalogue.h"
#include "decoder/log_reader.h"
#include "decoder/record_view.h"

namespace quillmark::cli {

class LogSummary {
public:
    LogSummary() = default;
    // Not copied: it keeps pointers into its own counts.
    LogSummary(const LogSummary&) = delete;
    LogSummary& operator=(const LogSummary&) = delete;

    // Counts a message: AddMessage what the log reader tells of it, AddNames its decoded record
    // (which may be done apart, on another summary, and merged).
    void AddMessage(const LogMessage& message);
    void AddNames(const RecordView& record);
    void Add(const LogMessage& message, const RecordView& record) {
        AddMessage(message);
        AddNames(record);
    }
    void AddSkippedLines(std::uint64_t lines) { skippedLines_ += lines; }
    // Adds every count of `other`.
    void Merge(const LogSummary& other);

    // {"dumps":N,"shortDumps":N,"notes":N,"skippedLines":N,"MainPM":{"READY":12,...},
    //  "AuxPM":{"READY":{"DISA_READY":3,...},...},"OrigType":{...},"TermType":{...},
    //  "Queue":{...}} and LF.
    std::string Json() const;
    std::string Text() const;

private:
    using Counts = std::map<std::string, std::uint64_t, std::less<>>;

    std::uint64_t dumps_ = 0;
    std::uint64_t shortDumps_ = 0;
    std::uint64_t notes_ = 0;
    std::uint64_t skippedLines_ = 0;
    std::array<Counts, kFieldCount> names_;              // per field with a code, by IndexOf
    std::map<std::string, Counts, std::less<>> auxPms_;  // AUX PM names by Main PM name
    std::string name_, main_;  // a name of several pieces, made whole to be looked up

    // The count of a name of a field (an AUX PM name under its Main PM name), made when there is
    // none. A message mostly brings names counted before: the names seen last are found by a
    // short hash of the names, without a walk of the map.
    std::uint64_t& CountOf(std::size_t field, std::string_view main, std::string_view name);
    struct Recent {
        std::string_view main;  // views of the maps' keys, which stay where they are
        std::string_view name;
        std::uint64_t* count = nullptr;
    };
    static constexpr std::size_t kRecent = 64;
    std::array<std::array<Recent, kRecent>, kFieldCount> recent_{};
};

}  // namespace quillmark::cli
