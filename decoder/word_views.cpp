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

// Where the bytes that are not word characters stand among sixteen: one bit per byte (bit i
// for byte i), for spaces and for the others (line breaks, bytes beyond ASCII).
struct NotWordChars {
    std::uint32_t spaces;
    std::uint32_t others;
};

NotWordChars FindNotWordChars(const char* bytes) {
#if defined(__SSE2__)
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')));
    // A byte beyond ASCII has its top bit set already.
    return {static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')))),
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_or_si128(breaks, block)))};
#else
    // Eight bytes at a time: the top bit of each byte found, exact (never set by a neighbour),
    // then the eight top bits packed into the low byte.
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); };
    const auto pack = [](std::uint64_t top) { return static_cast<std::uint32_t>(((top >> 7) * 0x0102040810204080ULL) >> 56); };
    const auto half = [&](const char* at) {
        std::uint64_t block;
        std::memcpy(&block, at, 8);
        if constexpr (std::endian::native == std::endian::big) block = __builtin_bswap64(block);
        return NotWordChars{pack(zeroBytes(block ^ (kOnes * ' '))),
                            pack(zeroBytes(block ^ (kOnes * '\r')) | zeroBytes(block ^ (kOnes * '\n')) | (block & ~kLow7))};
    };
    const NotWordChars low = half(bytes), high = half(bytes + 8);
    return {low.spaces | high.spaces << 8, low.others | high.others << 8};
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
    rewritten_.clear();
    // Words that need rewriting, by number and raw text; rare, so looked at after the scan.
    struct RawWord {
        int word;
        std::string_view raw;
    };
    std::array<RawWord, kLastWord> unplain;
    std::size_t unplainCount = 0;

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
            unplain[unplainCount++] = {word, raw};
            words_[static_cast<std::size_t>(word)] = {};
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
        const NotWordChars found = FindNotWordChars(text.data() + pos);
        if (found.others == 0 && plain) {
            // Only spaces: each ends a plain word.
            for (std::uint32_t spaces = found.spaces; spaces != 0; spaces &= spaces - 1) {
                const std::size_t at = pos + static_cast<std::size_t>(std::countr_zero(spaces));
                words_[static_cast<std::size_t>(word)] = std::string_view(text.data() + begin, at - begin);
                begin = at + 1;
                if (++word > kLastWord) {
                    reading = false;
                    break;
                }
            }
            continue;
        }
        for (std::uint32_t bytes = found.spaces | found.others; reading && bytes != 0; bytes &= bytes - 1)
            reading = atByte(pos + static_cast<std::size_t>(std::countr_zero(bytes)));
    }
    for (; reading && pos < text.size(); ++pos)
        if (kByteClasses[static_cast<unsigned char>(text[pos])] != kWordChar) reading = atByte(pos);
    if (reading) endWord(text.size());
    // Words the text does not reach are empty.
    for (int k = reading ? word + 1 : kLastWord + 1; k <= kLastWord; ++k) words_[static_cast<std::size_t>(k)] = {};

    // Rewritten words go into one buffer; their views are taken once it has stopped growing.
    std::array<std::size_t, kLastWord> rewrittenEnd;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        std::string_view raw = unplain[i].raw;
        // A line end after the word (a CR LF file) needs no copy.
        while (!raw.empty() && IsLineBreak(raw.back())) raw.remove_suffix(1);
        if (IsPlain(raw)) {
            words_[static_cast<std::size_t>(unplain[i].word)] = raw;
            rewrittenEnd[i] = 0;
            continue;
        }
        AppendRewritten(rewritten_, unplain[i].raw);
        rewrittenEnd[i] = rewritten_.size();
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < unplainCount; ++i) {
        if (rewrittenEnd[i] == 0) continue;  // a view of the text after all
        words_[static_cast<std::size_t>(unplain[i].word)] = std::string_view(rewritten_).substr(from, rewrittenEnd[i] - from);
        from = rewrittenEnd[i];
    }
}

}  // namespace quillmark
