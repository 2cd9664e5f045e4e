// SPDX-License-Identifier: MIT
#include "cli/NameTables.h"

#include <span>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "decoder/aux_pm_table.h"
#include "decoder/code_name.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/main_pm_table.h"
#include "decoder/queue_table.h"
#include "decoder/unit_type_table.h"

namespace quillmark::cli {
namespace {

using Ordered = nlohmann::ordered_json;

// The table a field is named from; empty for the AUX PM, whose tables hang under the Main PM.
std::span<const CodeName> TableOf(Shown shown) {
    switch (shown) {
        case Shown::MainPmName: return kMainPmNames;
        case Shown::UnitTypeName: return kUnitTypeNames;
        case Shown::QueueName: return kQueueNames;
        default: return {};
    }
}

std::string_view HeadingOf(const FieldRow& row) {
    std::string_view label = row.reportLabel;
    label.remove_suffix(2);  // ": "
    return label;
}

void AppendLine(std::string& out, std::string_view code, std::string_view name) {
    out += "  ";
    out += code;
    out += "  ";
    out += name;
    out += '\n';
}

}  // namespace

std::string NameTablesText() {
    std::string out;
    std::vector<const FieldRow*> done;
    for (const FieldRow& row : kFields) {
        if (!HasCode(row)) continue;
        const std::span<const CodeName> table = TableOf(row.shown);
        // Fields named from the same table share one listing: "Orig Type, Term Type".
        bool listed = false;
        for (const FieldRow* other : done) listed = listed || other->shown == row.shown;
        done.push_back(&row);
        if (listed) continue;
        out += out.empty() ? "" : "\n";
        out += HeadingOf(row);
        for (const FieldRow& later : kFields) {
            if (&later > &row && later.shown == row.shown) {
                out += ", ";
                out += HeadingOf(later);
            }
        }
        out += '\n';
        if (row.shown != Shown::AuxPmName) {
            for (const CodeName& entry : table) AppendLine(out, entry.code, entry.name);
            continue;
        }
        for (const AuxPmTable& aux : kAuxPmTables) {
            const std::string main =
                std::string(aux.mainCode) + " " + std::string(MainPMName(aux.mainCode)) + "  ";
            for (const CodeName& entry : aux.names)
                AppendLine(out, main + std::string(entry.code), entry.name);
        }
    }
    return out;
}

std::string NameTablesJson() {
    Ordered object = Ordered::object();
    for (const FieldRow& row : kFields) {
        if (!HasCode(row)) continue;
        Ordered list = Ordered::array();
        if (row.shown != Shown::AuxPmName) {
            for (const CodeName& entry : TableOf(row.shown))
                list.push_back({{"code", entry.code}, {"name", entry.name}});
        } else {
            for (const AuxPmTable& aux : kAuxPmTables)
                for (const CodeName& entry : aux.names)
                    list.push_back({{"MainPM", aux.mainCode},
                                    {"MainPMName", MainPMName(aux.mainCode)},
                                    {"code", entry.code},
                                    {"name", entry.name}});
        }
        object[std::string(row.key)] = list;
    }
    return object.dump() + "\n";
}

}  // namespace quillmark::cli
