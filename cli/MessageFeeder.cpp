#include "cli/MessageFeeder.h"

#include <cstring>

namespace quillmark::cli {

MessageFeeder::MessageFeeder(DataWords& words, std::uint64_t skipWords)
    : words_(words), skipWords_(skipWords) {
    Restart();
}

namespace {

// Keeps the storage of ordinary words from message to message, but gives back what an
// unusually long word took, so one huge message does not hold memory for the rest of the run.
void Empty(std::string& text) {
    constexpr std::size_t kKeptCapacity = 64 * 1024;
    if (text.capacity() > kKeptCapacity) {
        std::string().swap(text);
    } else {
        text.clear();
    }
}

}  // namespace

void MessageFeeder::Restart() {
    for (std::string& word : words_.HexWords) {
        Empty(word);
    }
    for (std::string& bits : words_.BinWords) {
        Empty(bits);
    }
    spacesToDrop_ = skipWords_;
    Empty(sinceLastSpace_);
    reader_.emplace(words_);
    complete_ = false;
}

bool MessageFeeder::Feed(std::string_view piece) {
    if (complete_) {
        return false;
    }
    // Each "Trim Text" press drops everything up to and including the next space (only a
    // space: line breaks belong to the word they stand in).
    while (spacesToDrop_ > 0) {
        const void* space = piece.empty() ? nullptr : std::memchr(piece.data(), ' ', piece.size());
        if (space == nullptr) {
            sinceLastSpace_.append(piece);
            return true;
        }
        const auto rest = static_cast<std::size_t>(static_cast<const char*>(space) - piece.data()) + 1;
        piece.remove_prefix(rest);
        sinceLastSpace_.clear();
        --spacesToDrop_;
    }
    complete_ = !reader_->Feed(piece);
    return !complete_;
}

void MessageFeeder::Finish() {
    if (spacesToDrop_ > 0) {
        // Fewer spaces than words to skip: the text after the last space stays.
        spacesToDrop_ = 0;
        complete_ = !reader_->Feed(sinceLastSpace_);
        sinceLastSpace_.clear();
    }
    reader_->Finish();
}

}  // namespace quillmark::cli
