// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/queue_table.h"

namespace quillmark {

namespace {
constexpr CodeIndex<2, 16> kIndex(kQueueNames);
}  // namespace

std::string_view QueueName(std::string_view code) { return kIndex.NameOr(code, "UNKNOWN"); }
std::string_view QueueNameAt(std::uint8_t value) { return kIndex.NameAt(value, "UNKNOWN"); }

}  // namespace quillmark
