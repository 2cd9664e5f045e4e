#include "cli/RecordFormat.h"

#include <nlohmann/json.hpp>

#include <cstring>

namespace quillmark::cli {

void AppendTextReport(std::string& out, const DecodedFields& fields) {
    const std::string report = BuildReport(CaptionsInLabelOrder(fields));
    // Captions never hold a line break, so each CR LF in the report is a line end.
    std::string_view rest = report;
    while (!rest.empty()) {
        const auto* cr = static_cast<const char*>(std::memchr(rest.data(), '\r', rest.size()));
        if (cr == nullptr) {
            out.append(rest);
            break;
        }
        const auto at = static_cast<std::size_t>(cr - rest.data());
        const bool lineEnd = at + 1 < rest.size() && rest[at + 1] == '\n';
        out.append(rest.substr(0, lineEnd ? at : at + 1));
        rest.remove_prefix(at + 1);
    }
}

void AppendJsonRecord(std::string& out, const DecodedFields& fields, const MessageOrigin& origin) {
    nlohmann::ordered_json record;
    record["file"] = origin.file;
    if (origin.line) {
        record["line"] = *origin.line;
    }
    record["CallRegister"] = fields.CallRegister;
    record["MainPM"] = fields.MainPM;
    record["AuxPM"] = fields.AuxPM;
    record["TermType"] = fields.TermType;
    record["OrigType"] = fields.OrigType;
    record["OrigTN"] = fields.OrigTN;
    record["TermTN"] = fields.TermTN;
    record["Queue"] = fields.Queue;
    record["CRLink"] = fields.CRLink;
    record["CRBakLink"] = fields.CRBakLink;
    record["AuxCR"] = fields.AuxCR;
    record["CRDialed"] = fields.CRDialed;
    record["DigitLoad"] = fields.DigitLoad;
    record["DigitUnload"] = fields.DigitUnload;
    record["DigsDialed"] = fields.DigsDialed;
    record["PointersDiffer"] = fields.PointersDiffer;
    record["codes"] = {
        {"MainPM", fields.Codes.MainPM},     {"AuxPM", fields.Codes.AuxPM},
        {"TermType", fields.Codes.TermType}, {"OrigType", fields.Codes.OrigType},
        {"Queue", fields.Codes.Queue},
    };
    out += record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    out += '\n';
}

}  // namespace quillmark::cli
