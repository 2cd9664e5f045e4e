// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/main_pm_table.h"

namespace quillmark {

namespace {
constexpr CodeIndex<2, 16> kIndex(kMainPmNames);
}  // namespace

std::string_view MainPMName(std::string_view code) { return kIndex.NameOr(code, "UNDEFINED"); }
std::string_view MainPMNameAt(std::uint8_t value) { return kIndex.NameAt(value, "UNDEFINED"); }

}  // namespace quillmark
