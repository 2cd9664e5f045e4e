// SPDX-License-Identifier: MIT
#include "cli/MessageCutter.h"

#include <algorithm>
#include <cstdint>

#include "cli/StringStorage.h"
#include "decoder/byte_scan.h"
#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

// The texts counted here are short and hold few line feeds.
std::uint64_t CountLineFeeds(std::string_view text) { return bytes::CountFewBytes(text, '\n'); }

}  // namespace

// ---- CharacterBudget -------------------------------------------------------------------------

void CharacterBudget::Restart() {
    left_ = limit_;
    pendingSize_ = 0;
}

bool CharacterBudget::Keep(std::string_view character, std::size_t units, std::string& out) {
    if (units > left_) {
        return false;
    }
    out.append(character);
    left_ -= units;
    return true;
}

bool CharacterBudget::Take(std::string_view piece, std::string& out) {
    std::size_t at = 0;
    // A character that the previous piece began: it completes, stays unfinished, or breaks at
    // the byte just added, which then belongs to what follows.
    while (pendingSize_ > 0 && at < piece.size()) {
        pending_[pendingSize_++] = piece[at++];
        const std::string_view started(pending_.data(), pendingSize_);
        const utf8::Scan scan = utf8::ScanChar(started);
        if (scan.status == utf8::Status::Truncated) {
            continue;
        }
        if (scan.status == utf8::Status::Invalid) {
            --at;
        }
        pendingSize_ = 0;
        if (!Keep(started.substr(0, scan.size), utf8::Utf16Units(scan), out)) {
            return false;
        }
    }
    while (at < piece.size()) {
        if (left_ == 0) {
            return false;
        }
        const std::size_t room = std::min(piece.size() - at, left_);
        const std::size_t ascii = bytes::AsciiPrefix(piece.substr(at, room));
        if (ascii > 0) {
            out.append(piece.data() + at, ascii);
            left_ -= ascii;
            at += ascii;
            continue;
        }
        const std::string_view rest = piece.substr(at);
        const utf8::Scan scan = utf8::ScanChar(rest);
        if (scan.status == utf8::Status::Truncated) {
            std::copy(rest.begin(), rest.end(), pending_.begin());
            pendingSize_ = rest.size();
            return true;
        }
        if (!Keep(rest.substr(0, scan.size), utf8::Utf16Units(scan), out)) {
            return false;
        }
        at += scan.size;
    }
    return true;
}

bool CharacterBudget::Finish(std::string& out) {
    const std::string_view started(pending_.data(), pendingSize_);
    pendingSize_ = 0;
    return started.empty() || Keep(started, 1, out);
}

// ---- MessageCutter ---------------------------------------------------------------------------

MessageCutter::MessageCutter(std::uint64_t skipWords, std::size_t characterLimit)
    : skipWords_(skipWords), characterLimit_(characterLimit), budget_(characterLimit) {
    Restart();
}

void MessageCutter::Restart() {
    spacesToDrop_ = skipWords_;
    spacesToKeep_ = kLastWord;
    done_ = false;
    cut_ = false;
    budget_.Restart();
    ClearKeepingSmallStorage(sinceLastSpace_);
    sinceLastSpaceCut_ = false;
    heldLineFeeds_ = 0;
    droppedLineFeeds_ = 0;
    keptLineFeeds_ = 0;
}

bool MessageCutter::Take(std::string_view piece, std::string& out) {
    if (done_) {
        return false;
    }
    // Each "Trim Text" press drops everything up to and including the next space (only a
    // space: line breaks belong to the word they stand in).
    while (spacesToDrop_ > 0) {
        const std::size_t space = bytes::FindByte(piece, ' ');
        if (space == piece.size()) {
            heldLineFeeds_ += CountLineFeeds(piece);
            if (!sinceLastSpaceCut_) {
                sinceLastSpaceCut_ = !budget_.Take(piece, sinceLastSpace_);
            }
            return true;
        }
        const std::size_t through = space + 1;
        droppedLineFeeds_ += heldLineFeeds_ + CountLineFeeds(piece.substr(0, through));
        heldLineFeeds_ = 0;
        piece.remove_prefix(through);
        sinceLastSpace_.clear();
        sinceLastSpaceCut_ = false;
        budget_.Restart();
        --spacesToDrop_;
    }
    return Keep(piece, out);
}

bool MessageCutter::Keep(std::string_view piece, std::string& out) {
    // Every space ends a word: the space that ends word 30 ends what decoding reads.
    const std::size_t wanted = bytes::ThroughNthByte(piece, ' ', spacesToKeep_);
    const std::size_t before = out.size();
    const bool fits = budget_.Take(piece.substr(0, wanted), out);
    keptLineFeeds_ += CountLineFeeds(std::string_view(out).substr(before));
    if (!fits) {
        cut_ = true;  // the spaces counted beyond the cut no longer matter
        done_ = true;
        return false;
    }
    done_ = spacesToKeep_ == 0;
    return !done_;
}

void MessageCutter::Finish(std::string& out) {
    if (done_) {
        return;
    }
    done_ = true;
    if (spacesToDrop_ > 0) {
        // Fewer spaces than presses: the text since the last space stays, as far as it fits.
        spacesToDrop_ = 0;
        out.append(sinceLastSpace_);
        keptLineFeeds_ += CountLineFeeds(sinceLastSpace_);
        ClearKeepingSmallStorage(sinceLastSpace_);
        cut_ = sinceLastSpaceCut_;
    }
    if (!cut_) {
        cut_ = !budget_.Finish(out);
    }
}

}  // namespace quillmark::cli
