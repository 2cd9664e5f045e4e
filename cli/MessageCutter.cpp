// SPDX-License-Identifier: MIT
#include "cli/MessageCutter.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "cli/StringStorage.h"
#include "decoder/decoder.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

const char* FindSpace(std::string_view text) {
    return text.empty() ? nullptr : static_cast<const char*>(std::memchr(text.data(), ' ', text.size()));
}

std::uint64_t CountLineFeeds(std::string_view text) {
    std::uint64_t count = 0;
    if (text.empty()) {
        return count;
    }
    for (const char* at = text.data(); const auto* lineFeed = static_cast<const char*>(
             std::memchr(at, '\n', static_cast<std::size_t>(text.data() + text.size() - at)));
         at = lineFeed + 1) {
        ++count;
    }
    return count;
}

// The number of leading bytes below 0x80, sixteen or eight at a time where it can.
std::size_t AsciiPrefix(const char* text, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t at = 0;
#if defined(__SSE2__)
    for (; at + 16 <= size; at += 16) {
        const auto high = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at))));
        if (high != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(high));
        }
    }
#endif
    for (; at + 8 <= size; at += 8) {
        std::uint64_t block;
        std::memcpy(&block, text + at, 8);
        if ((block & kHighBits) != 0) {
            break;
        }
    }
    while (at < size && static_cast<unsigned char>(text[at]) < 0x80) {
        ++at;
    }
    return at;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;

// The top bit of each byte of the eight that is a space, and of no other byte.
std::uint64_t SpaceBits(const char* eight) {
    std::uint64_t block;
    std::memcpy(&block, eight, 8);
    if constexpr (std::endian::native == std::endian::big) block = __builtin_bswap64(block);
    const std::uint64_t x = block ^ (kOnes * ' ');
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Texts are looked at in runs of this many bytes: few enough that a byte counter cannot
// overflow, many enough that a line of thirty words is one or two runs.
constexpr std::size_t kRun = 240;

// The spaces of at most kRun bytes, sixteen bytes at a time where the processor can.
int CountSpaces(const char* text, std::size_t size) {
    std::size_t at = 0;
    int count = 0;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' ');
    __m128i lanes = _mm_setzero_si128();  // a space count per byte lane
    for (; at + 16 <= size; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, space));
    }
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    count = _mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4);
#endif
    std::uint64_t lanes64 = 0;  // at most kRun / 8 per lane, kRun in all
    for (; at + 8 <= size; at += 8) {
        lanes64 += SpaceBits(text + at) >> 7;
    }
    count += static_cast<int>((lanes64 * kOnes) >> 56);
    for (; at < size; ++at) {
        count += text[at] == ' ' ? 1 : 0;
    }
    return count;
}

// Where, in a run that holds at least `spaces` (> 0) spaces, the text up to and including
// the `spaces`-th ends.
std::size_t ThroughNthSpaceOfRun(const char* text, std::size_t size, int spaces) {
    std::size_t at = 0;
    for (; at + 8 <= size; at += 8) {
        std::uint64_t found = SpaceBits(text + at);
        const auto count = static_cast<int>(((found >> 7) * kOnes) >> 56);
        if (count < spaces) {
            spaces -= count;
            continue;
        }
        for (; spaces > 1; --spaces) {
            found &= found - 1;  // drops the first space left, in byte order
        }
        return at + static_cast<std::size_t>(std::countr_zero(found) / 8) + 1;
    }
    for (;; ++at) {
        if (text[at] == ' ' && --spaces == 0) {
            return at + 1;
        }
    }
}

// Where the text up to and including its `spaces`-th space ends, with `spaces` lowered to 0;
// the text's size, with `spaces` lowered by all of its spaces, when it holds fewer. Counts
// spaces a run at a time, so that a line of thirty words costs no call per word.
std::size_t ThroughNthSpace(std::string_view text, int& spaces) {
    for (std::size_t at = 0; at < text.size(); at += kRun) {
        const std::size_t size = std::min(kRun, text.size() - at);
        const int count = CountSpaces(text.data() + at, size);
        if (count >= spaces) {
            const std::size_t through = at + ThroughNthSpaceOfRun(text.data() + at, size, spaces);
            spaces = 0;
            return through;
        }
        spaces -= count;
    }
    return text.size();
}

std::size_t Utf16Units(utf8::Scan scan) {
    return scan.status == utf8::Status::Valid && scan.size == 4 ? 2 : 1;
}

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
        if (!Keep(started.substr(0, scan.size), Utf16Units(scan), out)) {
            return false;
        }
    }
    while (at < piece.size()) {
        if (left_ == 0) {
            return false;
        }
        const std::size_t room = std::min(piece.size() - at, left_);
        const std::size_t ascii = AsciiPrefix(piece.data() + at, room);
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
        if (!Keep(rest.substr(0, scan.size), Utf16Units(scan), out)) {
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
        const char* space = FindSpace(piece);
        if (space == nullptr) {
            heldLineFeeds_ += CountLineFeeds(piece);
            if (!sinceLastSpaceCut_) {
                sinceLastSpaceCut_ = !budget_.Take(piece, sinceLastSpace_);
            }
            return true;
        }
        const auto through = static_cast<std::size_t>(space - piece.data()) + 1;
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
    const std::size_t wanted = ThroughNthSpace(piece, spacesToKeep_);
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
