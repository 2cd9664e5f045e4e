// SPDX-License-Identifier: MIT
#pragma once
// --tables: every name table as the decoder holds it, a glossary to look names up in and to
// script against. Each field shown by a name lists its table's codes and names; the AUX PM
// names stand under the Main PM they belong to.

#include <string>

namespace quillmark::cli {

// As text: a heading per table (the fields it names), then one "code  name" line per entry;
// the AUX PM lines start with their Main PM's code and name.
std::string NameTablesText();
// As one JSON object and LF, keyed by the field keys: {"MainPM":[{"code":"00","name":"IDLE"},
// ...],"AuxPM":[{"MainPM":"01","MainPMName":"READY","code":"02","name":"DISA_READY"},...],...}.
std::string NameTablesJson();

}  // namespace quillmark::cli
