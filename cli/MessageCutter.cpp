// SPDX-License-Identifier: MIT
#include "cli/MessageCutter.h"

#include <cstring>

#include "decoder/decoder.h"

namespace quillmark::cli {
namespace {

const char* FindSpace(std::string_view text) {
    return text.empty() ? nullptr : static_cast<const char*>(std::memchr(text.data(), ' ', text.size()));
}

}  // namespace

MessageCutter::MessageCutter(std::uint64_t skipWords) : skipWords_(skipWords) {
    Restart();
}

void MessageCutter::Restart() {
    spacesToDrop_ = skipWords_;
    spacesToKeep_ = kLastWord;
    // An unusually long word gives its storage back rather than holding it for the whole run.
    if (sinceLastSpace_.capacity() > 64 * 1024) {
        std::string().swap(sinceLastSpace_);
    }
    sinceLastSpace_.clear();
}

bool MessageCutter::Take(std::string_view piece, std::string& out) {
    // Each "Trim Text" press drops everything up to and including the next space (only a
    // space: line breaks belong to the word they stand in).
    while (spacesToDrop_ > 0) {
        const char* space = FindSpace(piece);
        if (space == nullptr) {
            sinceLastSpace_.append(piece);
            return true;
        }
        piece.remove_prefix(static_cast<std::size_t>(space - piece.data()) + 1);
        sinceLastSpace_.clear();
        --spacesToDrop_;
    }
    // Every space ends a word: the space that ends word 30 ends what decoding reads.
    while (spacesToKeep_ > 0) {
        const char* space = FindSpace(piece);
        if (space == nullptr) {
            out.append(piece);
            return true;
        }
        const auto through = static_cast<std::size_t>(space - piece.data()) + 1;
        out.append(piece.substr(0, through));
        piece.remove_prefix(through);
        --spacesToKeep_;
    }
    return false;
}

void MessageCutter::Finish(std::string& out) {
    if (spacesToDrop_ > 0) {
        spacesToDrop_ = 0;
        Take(sinceLastSpace_, out);
        sinceLastSpace_.clear();
    }
}

}  // namespace quillmark::cli
