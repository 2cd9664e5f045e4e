// SPDX-License-Identifier: MIT
#include "cli/LineSplitter.h"

#include "decoder/byte_scan.h"

namespace quillmark::cli {

void LineSplitter::StartInput(const std::string& name) {
    lines_.StartInput(name);
    cutter_.Restart();
    lineOpen_ = false;
    wanted_ = true;
}

bool LineSplitter::Feed(std::string_view block) {
    const char* at = block.data();
    const char* const end = at + block.size();
    while (at < end) {
        const std::string_view rest(at, static_cast<std::size_t>(end - at));
        const std::size_t lineFeed = bytes::FindByte(rest, '\n');
        const char* const textEnd = at + lineFeed;
        // Once the cutter has what it needs, the rest of the line is passed over unread.
        if (wanted_ && textEnd > at) {
            wanted_ = cutter_.Take({at, static_cast<std::size_t>(textEnd - at)}, lines_.LineText());
        }
        lineOpen_ = lineOpen_ || textEnd > at;
        if (lineFeed == rest.size()) {
            return true;
        }
        if (!EndLine()) {
            return false;
        }
        at = textEnd + 1;
    }
    return true;
}

bool LineSplitter::EndLine() {
    cutter_.Finish(lines_.LineText());
    const bool go = lines_.EndLine(cutter_.WasCut());
    cutter_.Restart();
    wanted_ = true;
    lineOpen_ = false;
    return go;
}

bool LineSplitter::Finish() { return !lineOpen_ || EndLine(); }

void LineSplitter::Abandon() {
    lines_.DropOpenLine();
    cutter_.Restart();
    lineOpen_ = false;
    wanted_ = true;
}

}  // namespace quillmark::cli
