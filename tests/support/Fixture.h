// SPDX-License-Identifier: MIT
#pragma once
// The worked example's fixture, tests/fixtures/worked-example.json, which the page tests read as
// well: per field key its caption, its result, the result of an empty text, the characters it
// was cut from and its sources; and faulty pastes with their marks and notes.

#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "decoder/field_catalogue.h"
#include "decoder/text_spans.h"

namespace quillmark::sample {

inline const nlohmann::json& Fixture() {
    static const nlohmann::json fixture =
        nlohmann::json::parse(std::ifstream(QUILLMARK_FIXTURES "/worked-example.json"));
    return fixture;
}

// A field's entry; a field the fixture lacks throws, naming its key.
inline const nlohmann::json& FixtureOf(const FieldRow& row) {
    return Fixture().at("fields").at(std::string(row.key));
}

// One entry `what` of every field, in result label order.
inline std::vector<std::string> FixtureTexts(const char* what) {
    std::vector<std::string> texts;
    for (const FieldRow& row : kFields) texts.push_back(FixtureOf(row).at(what));
    return texts;
}

// A run [start, end) of the fixture as a span, and a list of runs.
inline TextSpan FixtureSpan(const nlohmann::json& run) {
    const std::size_t start = run.at(0);
    return {start, run.at(1).get<std::size_t>() - start};
}
inline std::vector<TextSpan> FixtureSpans(const nlohmann::json& runs) {
    std::vector<TextSpan> spans;
    for (const auto& run : runs) spans.push_back(FixtureSpan(run));
    return spans;
}

}  // namespace quillmark::sample
