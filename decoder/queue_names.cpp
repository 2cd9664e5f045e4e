// SPDX-License-Identifier: MIT
#include "decoder/decoder.h"
#include "decoder/queue_table.h"

namespace quillmark {

std::string_view QueueName(std::string_view code) {
    return NameOr(kQueueNames, code, "UNKNOWN");
}

}  // namespace quillmark
