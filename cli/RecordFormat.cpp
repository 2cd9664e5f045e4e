// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

#include <cstring>

#include "decoder/field_catalogue.h"

namespace quillmark::cli {
namespace {

// The record's text keys in output order, after "file" (and "line"): the fields by their
// catalogue keys, then the codes inside "codes".
constexpr std::array<const char*, 5> kCodeKeys{"MainPM", "AuxPM", "TermType", "OrigType", "Queue"};

std::array<const std::string*, 5> CodeTexts(const FieldCodes& c) {
    return {&c.MainPM, &c.AuxPM, &c.TermType, &c.OrigType, &c.Queue};
}

}  // namespace

void AppendTextReport(std::string& out, const DecodedFields& fields) {
    AppendReport(out, fields, "\n");
}

JsonRecords::JsonRecords(bool withLine) {
    record_ = nlohmann::ordered_json::object();
    record_["file"] = "";
    if (withLine) {
        record_["line"] = 0;
    }
    for (const FieldRow& row : kFields) {
        record_[std::string(row.key)] = "";
    }
    record_["PointersDiffer"] = false;
    nlohmann::ordered_json& codes = record_["codes"] = nlohmann::ordered_json::object();
    for (const char* key : kCodeKeys) {
        codes[key] = "";
    }

    // No key is added from here on, so the values stay where they are.
    std::size_t slot = 0;
    texts_[slot++] = &record_["file"].get_ref<std::string&>();
    for (const FieldRow& row : kFields) {
        texts_[slot++] = &record_[std::string(row.key)].get_ref<std::string&>();
    }
    for (const char* key : kCodeKeys) {
        texts_[slot++] = &record_["codes"][key].get_ref<std::string&>();
    }
    if (withLine) {
        line_ = &record_["line"];
    }
    pointersDiffer_ = &record_["PointersDiffer"];
}

void JsonRecords::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    std::size_t slot = 0;
    texts_[slot++]->assign(origin.file);
    for (const FieldRow& row : kFields) {
        texts_[slot++]->assign(fields.*row.member);
    }
    for (const std::string* text : CodeTexts(fields.Codes)) {
        texts_[slot++]->assign(*text);
    }
    if (line_ != nullptr) {
        *line_ = origin.line.value_or(0);
    }
    *pointersDiffer_ = fields.PointersDiffer;
    out += record_.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    out += '\n';
}

}  // namespace quillmark::cli
