// SPDX-License-Identifier: MIT
#include "cli/LogSummary.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace quillmark::cli {
namespace {

using Ordered = nlohmann::ordered_json;

// The names and their counts, largest first; equal counts by name.
template <typename Map>
std::vector<std::pair<std::string, std::uint64_t>> LargestFirst(const Map& counts) {
    std::vector<std::pair<std::string, std::uint64_t>> rows(counts.begin(), counts.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    return rows;
}

template <typename Map>
std::uint64_t Total(const Map& counts) {
    std::uint64_t total = 0;
    for (const auto& entry : counts) total += entry.second;
    return total;
}

Ordered CountsJson(const std::map<std::string, std::uint64_t, std::less<>>& counts) {
    Ordered object = Ordered::object();
    for (const auto& [name, count] : LargestFirst(counts)) object[name] = count;
    return object;
}

// A field's heading as its report line names it: "Main PM", "Orig Type".
std::string_view HeadingOf(const FieldRow& row) {
    std::string_view label = row.reportLabel;
    label.remove_suffix(2);  // ": "
    return label;
}

std::string Shown(std::string_view name) { return name.empty() ? "(none)" : std::string(name); }

void AppendRow(std::string& out, std::uint64_t count, std::string_view name) {
    const std::string number = std::to_string(count);
    out.append(number.size() < 10 ? 10 - number.size() : 0, ' ');
    out += number;
    out += "  ";
    out += name;
    out += '\n';
}

// A field's text as one view: its only piece, or its pieces made whole in `scratch`.
std::string_view Whole(const TextParts& shown, std::string& scratch) {
    if (shown.parts[1].empty() && shown.parts[2].empty()) return shown.parts[0];
    shown.AssignTo(scratch);
    return scratch;
}

// The entry of a key, made when there is none, without a string made to look it up.
template <typename Value>
auto& Entry(std::map<std::string, Value, std::less<>>& map, std::string_view key) {
    const auto found = map.lower_bound(key);
    if (found != map.end() && found->first == key) return *found;
    return *map.emplace_hint(found, std::string(key), Value{});
}

std::size_t ShortHash(std::string_view name) {
    return name.empty() ? 0
                        : name.size() * 131 + static_cast<unsigned char>(name.front()) * 31 +
                              static_cast<unsigned char>(name.back()) +
                              static_cast<unsigned char>(name[name.size() / 2]) * 7;
}

}  // namespace

void LogSummary::AddMessage(const LogMessage& message) {
    ++dumps_;
    shortDumps_ += message.words < static_cast<std::uint64_t>(kWordsOfAFullDump) ? 1 : 0;
    notes_ += message.notes.size();
}

void LogSummary::AddNames(const RecordView& record) {
    for (Field field : kCodeFields) {
        const std::string_view name = Whole(record.Shown(field), name_);
        const std::string_view main =
            field == Field::AuxPM ? Whole(record.Shown(Field::MainPM), main_) : std::string_view();
        ++CountOf(IndexOf(field), main, name);
    }
}

std::uint64_t& LogSummary::CountOf(std::size_t field, std::string_view main,
                                   std::string_view name) {
    Recent& recent = recent_[field][(ShortHash(name) * 17 + ShortHash(main)) % kRecent];
    if (recent.count != nullptr && recent.name == name && recent.main == main) {
        return *recent.count;
    }
    if (field == IndexOf(Field::AuxPM)) {
        auto& byMain = Entry(auxPms_, main);
        auto& entry = Entry(byMain.second, name);
        recent = {byMain.first, entry.first, &entry.second};
    } else {
        auto& entry = Entry(names_[field], name);
        recent = {{}, entry.first, &entry.second};
    }
    return *recent.count;
}

void LogSummary::Merge(const LogSummary& other) {
    dumps_ += other.dumps_;
    shortDumps_ += other.shortDumps_;
    notes_ += other.notes_;
    skippedLines_ += other.skippedLines_;
    for (std::size_t k = 0; k < names_.size(); ++k)
        for (const auto& [name, count] : other.names_[k]) names_[k][name] += count;
    for (const auto& [main, counts] : other.auxPms_)
        for (const auto& [aux, count] : counts) auxPms_[main][aux] += count;
}

std::string LogSummary::Json() const {
    Ordered object = Ordered::object();
    object["dumps"] = dumps_;
    object["shortDumps"] = shortDumps_;
    object["notes"] = notes_;
    object["skippedLines"] = skippedLines_;
    for (const FieldRow& row : kFields) {
        if (!HasCode(row)) continue;
        if (row.field != Field::AuxPM) {
            object[std::string(row.key)] = CountsJson(names_[IndexOf(row.field)]);
            continue;
        }
        Ordered byMain = Ordered::object();
        std::vector<std::pair<std::string, std::uint64_t>> mains;
        for (const auto& [main, counts] : auxPms_) mains.emplace_back(main, Total(counts));
        std::stable_sort(mains.begin(), mains.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        for (const auto& [main, total] : mains)
            byMain[main] = CountsJson(auxPms_.find(main)->second);
        object[std::string(row.key)] = byMain;
    }
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string LogSummary::Text() const {
    std::string out;
    const std::pair<const char*, std::uint64_t> totals[] = {{"Messages", dumps_},
                                                            {"Short dumps", shortDumps_},
                                                            {"Notes", notes_},
                                                            {"Skipped lines", skippedLines_}};
    for (const auto& [label, count] : totals) AppendRow(out, count, label);
    for (const FieldRow& row : kFields) {
        if (!HasCode(row)) continue;
        out += '\n';
        out += HeadingOf(row);
        out += '\n';
        if (row.field != Field::AuxPM) {
            for (const auto& [name, count] : LargestFirst(names_[IndexOf(row.field)]))
                AppendRow(out, count, Shown(name));
            continue;
        }
        std::vector<std::pair<std::string, std::uint64_t>> rows;
        for (const auto& [main, counts] : auxPms_)
            for (const auto& [aux, count] : counts)
                rows.emplace_back(main + " / " + Shown(aux), count);
        std::stable_sort(rows.begin(), rows.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
        for (const auto& [name, count] : rows) AppendRow(out, count, name);
    }
    return out;
}

}  // namespace quillmark::cli
