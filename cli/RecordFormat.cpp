// SPDX-License-Identifier: MIT
#include "cli/RecordFormat.h"

namespace quillmark::cli {
namespace {

// The record's text keys in output order, after "file" (and "line"): the fields by their
// names, then the codes inside "codes".
constexpr std::array<const char*, 15> kFieldKeys{
    "CallRegister", "MainPM", "AuxPM",     "TermType", "OrigType",
    "OrigTN",       "TermTN", "Queue",     "CRLink",   "CRBakLink",
    "AuxCR",        "CRDialed", "DigitLoad", "DigitUnload", "DigsDialed"};
constexpr std::array<const char*, 5> kCodeKeys{"MainPM", "AuxPM", "TermType", "OrigType", "Queue"};

std::array<const std::string*, 15> FieldTexts(const DecodedFields& f) {
    return {&f.CallRegister, &f.MainPM, &f.AuxPM,     &f.TermType,  &f.OrigType,
            &f.OrigTN,       &f.TermTN, &f.Queue,     &f.CRLink,    &f.CRBakLink,
            &f.AuxCR,        &f.CRDialed, &f.DigitLoad, &f.DigitUnload, &f.DigsDialed};
}

std::array<const std::string*, 5> CodeTexts(const FieldCodes& c) {
    return {&c.MainPM, &c.AuxPM, &c.TermType, &c.OrigType, &c.Queue};
}

// The report's label texts, in report order, as the decoder's own report writes them: the
// report of fifteen empty captions is the labels alone, each ended by CR LF.
const std::array<std::string, kResultCount>& ReportLabels() {
    static const std::array<std::string, kResultCount> labels = [] {
        std::array<std::string, kResultCount> found;
        const std::string bare = BuildReport(ResultCaptions{});
        std::string_view rest = bare;
        for (std::string& label : found) {
            const std::size_t end = rest.find("\r\n");
            label.assign(rest.substr(0, end));
            rest.remove_prefix(end + 2);
        }
        return found;
    }();
    return labels;
}

}  // namespace

void AppendReport(std::string& out, const ResultCaptions& captions, std::string_view lineEnd) {
    const auto& labels = ReportLabels();
    for (std::size_t k = 0; k < captions.size(); ++k) {
        out += labels[k];
        out += captions[k];
        out += lineEnd;
    }
}

void ReportWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin&) {
    AppendReport(out, CaptionsInLabelOrder(fields), "\n");
}

JsonWriter::JsonWriter(LineKey lineKey) {
    record_ = nlohmann::ordered_json::object();
    record_["file"] = "";
    if (lineKey == LineKey::Written) {
        record_["line"] = 0;
    }
    for (const char* key : kFieldKeys) {
        record_[key] = "";
    }
    record_["PointersDiffer"] = false;
    nlohmann::ordered_json& codes = record_["codes"] = nlohmann::ordered_json::object();
    for (const char* key : kCodeKeys) {
        codes[key] = "";
    }

    // No key is added from here on, so the values stay where they are.
    std::size_t slot = 0;
    texts_[slot++] = &record_["file"].get_ref<std::string&>();
    for (const char* key : kFieldKeys) {
        texts_[slot++] = &record_[key].get_ref<std::string&>();
    }
    for (const char* key : kCodeKeys) {
        texts_[slot++] = &record_["codes"][key].get_ref<std::string&>();
    }
    if (lineKey == LineKey::Written) {
        line_ = &record_["line"];
    }
    pointersDiffer_ = &record_["PointersDiffer"];
}

void JsonWriter::Append(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    std::size_t slot = 0;
    texts_[slot++]->assign(origin.file);
    for (const std::string* text : FieldTexts(fields)) {
        texts_[slot++]->assign(*text);
    }
    for (const std::string* text : CodeTexts(fields.Codes)) {
        texts_[slot++]->assign(*text);
    }
    if (line_ != nullptr) {
        *line_ = origin.line.value_or(0);
    }
    *pointersDiffer_ = fields.PointersDiffer;
    // Serialised straight into the output, without a string of its own.
    nlohmann::detail::serializer<nlohmann::ordered_json> serializer(
        nlohmann::detail::output_adapter<char>(out), ' ',
        nlohmann::ordered_json::error_handler_t::replace);
    serializer.dump(record_, false, false, 0);
    out += '\n';
}

RecordWriterFactory ChooseRecordWriter(const DecodeOptions& options) {
    if (!options.json) {
        return [] { return std::make_unique<ReportWriter>(); };
    }
    const auto lineKey = options.lines ? JsonWriter::LineKey::Written : JsonWriter::LineKey::Omitted;
    return [lineKey] { return std::make_unique<JsonWriter>(lineKey); };
}

}  // namespace quillmark::cli
