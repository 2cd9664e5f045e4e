// SPDX-License-Identifier: MIT
// Finding the words of a text in place. Plain ASCII words (the usual dump) are views of the
// text; a word with a line break or a byte that is not ASCII is rewritten the way the word
// reader writes it.

#include "decoder/word_views.h"

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "decoder/utf8.h"

namespace quillmark {

namespace {

// What a byte does to the word it stands in.
enum ByteClass : std::uint8_t { kWordChar, kSpace, kRewrite };

constexpr std::array<std::uint8_t, 256> kByteClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (std::size_t byte = 0x80; byte < 0x100; ++byte) classes[byte] = kRewrite;
    classes['\r'] = kRewrite;  // line breaks are dropped from the word
    classes['\n'] = kRewrite;
    classes[' '] = kSpace;
    return classes;
}();

// One bit per byte of sixteen (bit i for byte i), set where the byte is a space, a line break
// or not ASCII.
std::uint32_t NotWordChars(const char* bytes) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')));
    // A byte that is not ASCII has its top bit set already.
    const __m128i found = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')), breaks), block);
    return static_cast<std::uint32_t>(_mm_movemask_epi8(found));
#else
    // Eight bytes at a time: the top bit of each byte found, exact (never set by a neighbour),
    // then the eight top bits packed into the low byte.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const auto half = [&](const char* at) {
        std::uint64_t block;
        std::memcpy(&block, at, 8);
        if constexpr (std::endian::native == std::endian::big) block = __builtin_bswap64(block);
        const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
        const std::uint64_t top = zeroBytes(block ^ (kOnes * ' ')) | zeroBytes(block ^ (kOnes * '\r')) |
                                  zeroBytes(block ^ (kOnes * '\n')) | (block & ~kLow7);
        return static_cast<std::uint32_t>(((top >> 7) * 0x0102040810204080ULL) >> 56);
    };
    return half(bytes) | half(bytes + 8) << 8;
#endif
}

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

bool IsPlain(std::string_view raw) {
    for (char c : raw)
        if (kByteClasses[static_cast<unsigned char>(c)] != kWordChar) return false;
    return true;
}

// The raw characters of one word as the reader writes them: line breaks dropped, a broken
// character as U+FFFD. A word ends at a space or at the end of the text, and neither can
// continue a character, so a character cut off at the end of the word is a broken one.
void AppendRewritten(std::string& out, std::string_view raw) {
    std::size_t pos = 0;
    while (pos < raw.size()) {
        const char c = raw[pos];
        if (IsLineBreak(c)) {
            ++pos;
        } else if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
            ++pos;
        } else {
            const std::string_view rest = raw.substr(pos);
            const utf8::Scan scan = utf8::ScanChar(rest);
            utf8::AppendChar(out, rest, scan);  // U+FFFD for a broken or cut-off character
            pos += scan.size;
        }
    }
}

}  // namespace

void WordViews::Read(std::string_view text) {
    words_.fill({});
    rewritten_.clear();
    // Words that need rewriting, by number and raw text; rare, so looked at after the scan.
    std::array<std::string_view, kLastWord + 1> unplain;
    std::size_t unplainCount = 0;
    std::array<int, kLastWord> unplainWords;

    // Every space ends a word; once word 30 is over nothing later can matter. The bytes that
    // are not word characters are found sixteen at a time; in a plain dump they are the spaces.
    int word = 1;
    std::size_t begin = 0;
    bool plain = true;
    const auto endWord = [&](std::size_t end) {
        const std::string_view raw = text.substr(begin, end - begin);
        if (plain) {
            words_[static_cast<std::size_t>(word)] = raw;
        } else {
            unplain[static_cast<std::size_t>(word)] = raw;
            unplainWords[unplainCount++] = word;
        }
    };
    const auto atByte = [&](std::size_t pos) {
        if (text[pos] != ' ') {
            plain = false;
            return true;
        }
        endWord(pos);
        begin = pos + 1;
        plain = true;
        return ++word <= kLastWord;
    };
    std::size_t pos = 0;
    bool reading = true;
    for (; reading && pos + 16 <= text.size(); pos += 16) {
        for (std::uint32_t found = NotWordChars(text.data() + pos); reading && found != 0; found &= found - 1)
            reading = atByte(pos + static_cast<std::size_t>(std::countr_zero(found)));
    }
    for (; reading && pos < text.size(); ++pos)
        if (kByteClasses[static_cast<unsigned char>(text[pos])] != kWordChar) reading = atByte(pos);
    if (reading) endWord(text.size());

    // Rewritten words go into one buffer; their views are taken once it has stopped growing.
    std::array<std::size_t, kLastWord + 1> rewrittenEnd;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        const auto k = static_cast<std::size_t>(unplainWords[i]);
        std::string_view raw = unplain[k];
        // A line end after the word (a CR LF file) needs no copy.
        while (!raw.empty() && IsLineBreak(raw.back())) raw.remove_suffix(1);
        if (IsPlain(raw)) {
            words_[k] = raw;
            rewrittenEnd[k] = 0;
            continue;
        }
        AppendRewritten(rewritten_, unplain[k]);
        rewrittenEnd[k] = rewritten_.size();
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        const auto k = static_cast<std::size_t>(unplainWords[i]);
        if (rewrittenEnd[k] == 0) continue;  // a view of the text after all
        words_[k] = std::string_view(rewritten_).substr(from, rewrittenEnd[k] - from);
        from = rewrittenEnd[k];
    }
}

}  // namespace quillmark
