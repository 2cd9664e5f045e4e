// SPDX-License-Identifier: MIT
#pragma once
// Looking at many bytes at once: the one home of the byte-level tricks of the decoder and the
// command-line decoder (the word finder, the log reader, the message cutter, the line reader,
// the word reader, the report and the JSON writer). Callers never spell out a mask.
//
// Each block operation comes as a plain portable function (eight bytes in a 64-bit word, or a
// byte at a time) and, where the compiler targets SSE2 (`__SSE2__`: every x86-64 build, the
// Windows one included), as a sixteen-byte one suffixed `Sse2`; the unsuffixed name picks the
// faster. SSE2 is missing on other processors (ARM, RISC-V, 32-bit x86 built without it) and in
// the web page's WebAssembly, which is built without WebAssembly SIMD and so has no vector form
// of its own: there only the portable form is compiled and the unsuffixed name runs it, with the
// same results. The tests hold each form that is compiled against a byte-by-byte loop.
// Finding one byte goes to the C library's memchr, which brings its own vector forms.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillmark::bytes {

// ---- One byte --------------------------------------------------------------------------------

// The value of an upper-case hexadecimal digit, or -1 for any other byte.
inline constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int digit = 0; digit < 16; ++digit)
        values[static_cast<unsigned char>("0123456789ABCDEF"[digit])] =
            static_cast<std::int8_t>(digit);
    return values;
}();

constexpr int HexValue(char c) { return kHexValues[static_cast<unsigned char>(c)]; }
constexpr bool IsUpperHexDigit(char c) { return HexValue(c) >= 0; }
constexpr bool IsAsciiByte(char c) { return static_cast<unsigned char>(c) < 0x80; }
// Bit characters [from, to) of a run of upper-case hexadecimal digits, four per digit with the
// top bit first, written from `out` on; returns the end of what it wrote.
inline char* HexDigitBits(std::string_view digits, std::size_t from, std::size_t to, char* out) {
    for (std::size_t i = from; i < to; ++i)
        *out++ = static_cast<char>('0' + ((HexValue(digits[i / 4]) >> (3 - i % 4)) & 1));
    return out;
}

// A hexadecimal digit of either case. Setting bit 5 turns 'A' to 'F' into 'a' to 'f' and no
// other byte into one of them.
constexpr bool IsHexDigitEitherCase(char c) {
    const auto folded = static_cast<unsigned char>(c | 0x20);
    return (c >= '0' && c <= '9') || (folded >= 'a' && folded <= 'f');
}

// The two lower-case hexadecimal digits of a byte, the high one first.
constexpr std::array<char, 2> LowerHexPair(unsigned char byte) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

// Whether every byte of the text is an upper-case hexadecimal digit.
constexpr bool IsUpperHex(std::string_view text) {
    bool all = true;
    for (char c : text) all = all && IsUpperHexDigit(c);
    return all;
}

// The bytes that do not simply belong to the word of a dump they stand in: the space, which
// ends it, and those that make it rewritten (CR and LF, dropped from it, and every byte beyond
// ASCII, read as UTF-8). FindWordBreaks marks the same bytes sixteen at a time.
inline constexpr std::array<bool, 256> kWordBreakBytes = [] {
    std::array<bool, 256> breaks{};
    for (std::size_t byte = 0x80; byte < 0x100; ++byte) breaks[byte] = true;
    breaks['\r'] = breaks['\n'] = breaks[' '] = true;
    return breaks;
}();

constexpr bool IsWordBreakByte(char c) { return kWordBreakBytes[static_cast<unsigned char>(c)]; }
// A word of a dump that is a view of the text as it stands: no byte of it is a word break.
constexpr bool IsPlainWord(std::string_view word) {
    for (char c : word)
        if (IsWordBreakByte(c)) return false;
    return true;
}

// The bytes a CSV field does not hold as they stand: the comma, the quote and the line breaks,
// which make it quoted, and the bytes beyond ASCII, which are looked at as UTF-8.
inline constexpr std::array<std::uint8_t, 256> kNotPlainCsv = [] {
    std::array<std::uint8_t, 256> table{};
    for (std::size_t c = 0x80; c < table.size(); ++c) table[c] = 1;
    for (unsigned char c : {',', '"', '\r', '\n'}) table[c] = 1;
    return table;
}();

// Looked at byte by byte without a branch: the texts of a record are short.
constexpr bool IsPlainCsv(std::string_view text) {
    std::uint8_t found = 0;
    for (char c : text) found |= kNotPlainCsv[static_cast<unsigned char>(c)];
    return found == 0;
}

// A byte that JSON takes as it stands: ASCII from the blank on, except '"' and '\\'.
constexpr bool IsPlainJsonByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

// ---- Eight bytes in a 64-bit word (SWAR) ------------------------------------------------------
// Byte i of the text is byte i of the word, counted from the low end, on any byte order. A
// mask has the top bit of each byte found set and no other bit; a neighbour never sets one.

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
inline constexpr std::uint64_t kTops = ~kLow7;

inline std::uint64_t Load8(const char* at) {
    std::uint64_t block;
    std::memcpy(&block, at, 8);
    if constexpr (std::endian::native == std::endian::big) block = __builtin_bswap64(block);
    return block;
}

constexpr std::uint64_t ZeroBytes(std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); }
constexpr std::uint64_t BytesEqual(std::uint64_t block, char c) {
    return ZeroBytes(block ^ (kOnes * static_cast<unsigned char>(c)));
}
// Bytes below 0x20 (ASCII ones only: a byte beyond ASCII is not below it).
constexpr std::uint64_t BytesBelowBlank(std::uint64_t block) {
    return ~(((block & kLow7) + kOnes * 0x60) | block | kLow7);
}
constexpr std::uint64_t BytesBeyondAscii(std::uint64_t block) { return block & kTops; }
// The eight top bits of a mask as the low eight bits, bit i for byte i.
constexpr std::uint32_t PackTops(std::uint64_t mask) {
    return static_cast<std::uint32_t>(((mask >> 7) * 0x0102040810204080ULL) >> 56);
}
// How many bytes a mask marks.
constexpr int CountTops(std::uint64_t mask) {
    return static_cast<int>(((mask >> 7) * kOnes) >> 56);
}
// The byte that the lowest mark of a non-zero mask stands on.
constexpr std::size_t FirstTop(std::uint64_t mask) {
    return static_cast<std::size_t>(std::countr_zero(mask) / 8);
}

// ---- Sixteen bytes: where a word of a dump ends -----------------------------------------------

// Among sixteen bytes, bit i for byte i: the spaces, and the other bytes that are not plain
// word characters (CR, LF, bytes beyond ASCII).
struct WordBreaks {
    std::uint32_t spaces;
    std::uint32_t others;
    friend bool operator==(const WordBreaks&, const WordBreaks&) = default;
};

inline WordBreaks FindWordBreaksPortable(const char* sixteen) {
    const auto half = [](const char* at) {
        const std::uint64_t block = Load8(at);
        return WordBreaks{
            PackTops(BytesEqual(block, ' ')),
            PackTops(BytesEqual(block, '\r') | BytesEqual(block, '\n') | BytesBeyondAscii(block))};
    };
    const WordBreaks low = half(sixteen), high = half(sixteen + 8);
    return {low.spaces | high.spaces << 8, low.others | high.others << 8};
}

#if defined(__SSE2__)
inline __m128i Load16(const char* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}
inline std::uint32_t Marks(__m128i mask) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(mask));
}
// The bytes of a block in [low, low + count), whatever their value, in one compare: shifted so
// that `low` lands on the least signed byte, those are the bytes below the least plus count.
inline __m128i BytesWithin(__m128i block, char low, int count) {
    const __m128i shifted = _mm_add_epi8(block, _mm_set1_epi8(static_cast<char>(-128 - low)));
    return _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(-128 + count)));
}

inline WordBreaks FindWordBreaksSse2(const char* sixteen) {
    const __m128i block = Load16(sixteen);
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')));
    // A byte beyond ASCII has its top bit set already.
    return {Marks(_mm_cmpeq_epi8(block, _mm_set1_epi8(' '))), Marks(_mm_or_si128(breaks, block))};
}
#endif

inline WordBreaks FindWordBreaks(const char* sixteen) {
#if defined(__SSE2__)
    return FindWordBreaksSse2(sixteen);
#else
    return FindWordBreaksPortable(sixteen);
#endif
}

// ---- Sixteen bytes: the words of a console log line -------------------------------------------

// Among sixteen bytes, bit i for byte i: the spaces, the hexadecimal digits of either case, the
// upper-case ones, and the bytes beyond ASCII.
struct HexClasses {
    std::uint32_t spaces;
    std::uint32_t hex;
    std::uint32_t upperHex;
    std::uint32_t beyondAscii;
    friend bool operator==(const HexClasses&, const HexClasses&) = default;
};

inline HexClasses ClassifyHexPortable(const char* sixteen) {
    HexClasses found{0, 0, 0, 0};
    for (int i = 0; i < 16; ++i) {
        const char c = sixteen[i];
        found.spaces |= static_cast<std::uint32_t>(c == ' ') << i;
        found.hex |= static_cast<std::uint32_t>(IsHexDigitEitherCase(c)) << i;
        found.upperHex |= static_cast<std::uint32_t>(IsUpperHexDigit(c)) << i;
        found.beyondAscii |= static_cast<std::uint32_t>(!IsAsciiByte(c)) << i;
    }
    return found;
}

#if defined(__SSE2__)
inline HexClasses ClassifyHexSse2(const char* sixteen) {
    const __m128i block = Load16(sixteen);
    const __m128i upper = _mm_or_si128(BytesWithin(block, '0', 10), BytesWithin(block, 'A', 6));
    const __m128i lower = BytesWithin(block, 'a', 6);
    // A byte beyond ASCII has its top bit set already.
    return {Marks(_mm_cmpeq_epi8(block, _mm_set1_epi8(' '))), Marks(_mm_or_si128(upper, lower)),
            Marks(upper), Marks(block)};
}
#endif

inline HexClasses ClassifyHex(const char* sixteen) {
#if defined(__SSE2__)
    return ClassifyHexSse2(sixteen);
#else
    return ClassifyHexPortable(sixteen);
#endif
}

// ---- Runs of a text ---------------------------------------------------------------------------

// The eight-byte loop of a prefix scan: the bytes before the first one `marks` finds. The last
// few bytes of a text of eight or more are looked at as its last eight.
template <class Marks8, class Plain>
std::size_t PrefixPortable(std::string_view text, std::size_t pos, const Marks8& marks,
                           const Plain& plain) {
    for (; pos + 8 <= text.size(); pos += 8) {
        const std::uint64_t found = marks(Load8(text.data() + pos));
        if (found != 0) return pos + FirstTop(found);
    }
    if (pos < text.size() && text.size() >= 8) {
        const std::size_t last = text.size() - 8;
        const std::uint64_t found = marks(Load8(text.data() + last));
        return found == 0 ? text.size() : std::max(pos, last + FirstTop(found));
    }
    while (pos < text.size() && plain(text[pos])) ++pos;
    return pos;
}

// Bytes before the first one beyond ASCII.
inline std::size_t AsciiPrefixPortable(std::string_view text, std::size_t from = 0) {
    // A text of four to seven bytes (a cut of a word) is looked at as its first and last four.
    if (from == 0 && text.size() >= 4 && text.size() < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, text.data(), 4);
        std::memcpy(&tail, text.data() + text.size() - 4, 4);
        if (((head | tail) & 0x80808080U) == 0) return text.size();
    }
    return PrefixPortable(text, from, BytesBeyondAscii, IsAsciiByte);
}

// Bytes before the first one that JSON escapes (a control character, '"', '\\') or that is
// beyond ASCII.
inline std::uint64_t NotPlainJson(std::uint64_t block) {
    return BytesEqual(block, '"') | BytesEqual(block, '\\') | BytesBelowBlank(block) |
           BytesBeyondAscii(block);
}
inline std::size_t PlainJsonPrefixPortable(std::string_view text, std::size_t from = 0) {
    return PrefixPortable(text, from, NotPlainJson, IsPlainJsonByte);
}

// How many bytes of the text are `c`.
inline std::size_t CountBytePortable(std::string_view text, char c) {
    std::size_t count = 0, pos = 0;
    while (pos + 8 <= text.size()) {
        // Per-byte counters of at most 255 each before they are summed.
        std::uint64_t lanes = 0;
        for (const std::size_t end = std::min(text.size() & ~std::size_t{7}, pos + 8 * 255);
             pos < end; pos += 8)
            lanes += BytesEqual(Load8(text.data() + pos), c) >> 7;
        for (int shift = 0; shift < 64; shift += 8) count += (lanes >> shift) & 0xFF;
    }
    for (; pos < text.size(); ++pos) count += text[pos] == c;
    return count;
}

#if defined(__SSE2__)
inline std::size_t AsciiPrefixSse2(std::string_view text) {
    std::size_t pos = 0;
    for (; pos + 16 <= text.size(); pos += 16) {
        const std::uint32_t found = Marks(Load16(text.data() + pos));
        if (found != 0) return pos + static_cast<std::size_t>(std::countr_zero(found));
    }
    return AsciiPrefixPortable(text, pos);
}

inline std::size_t PlainJsonPrefixSse2(std::string_view text) {
    std::size_t pos = 0;
    for (; pos + 16 <= text.size(); pos += 16) {
        const __m128i block = Load16(text.data() + pos);
        // Compared as signed bytes, those beyond ASCII are below the blank too.
        const std::uint32_t found =
            Marks(_mm_or_si128(_mm_cmplt_epi8(block, _mm_set1_epi8(0x20)),
                               _mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('"')),
                                            _mm_cmpeq_epi8(block, _mm_set1_epi8('\\')))));
        if (found != 0) return pos + static_cast<std::size_t>(std::countr_zero(found));
    }
    return PlainJsonPrefixPortable(text, pos);
}

inline std::size_t CountByteSse2(std::string_view text, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    std::size_t count = 0, pos = 0;
    while (pos + 16 <= text.size()) {
        __m128i lanes = _mm_setzero_si128();  // a count per byte lane, at most 255 each
        for (const std::size_t end = std::min(text.size() & ~std::size_t{15}, pos + 16 * 255);
             pos < end; pos += 16)
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(Load16(text.data() + pos), wanted));
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
    }
    return count + CountBytePortable(text.substr(pos), c);
}
#endif

inline std::size_t AsciiPrefix(std::string_view text) {
#if defined(__SSE2__)
    return AsciiPrefixSse2(text);
#else
    return AsciiPrefixPortable(text);
#endif
}

inline std::size_t PlainJsonPrefix(std::string_view text) {
#if defined(__SSE2__)
    return PlainJsonPrefixSse2(text);
#else
    return PlainJsonPrefixPortable(text);
#endif
}

inline std::size_t CountByte(std::string_view text, char c) {
#if defined(__SSE2__)
    return CountByteSse2(text, c);
#else
    return CountBytePortable(text, c);
#endif
}

// ---- A run of dump words --------------------------------------------------------------------
// How many words of eight upper-case hexadecimal digits the text is, one space before each but
// the first ("0008F5B4 00000C5F": 2), or 0 when it is anything else: the usual line of a dump.

inline std::size_t SpacedHexWordsPortable(std::string_view text) {
    if (text.size() < 8 || (text.size() + 1) % 9 != 0) return 0;
    for (std::size_t at = 0; at < text.size(); at += 9)
        if (!IsUpperHex(text.substr(at, 8)) || (at + 8 < text.size() && text[at + 8] != ' '))
            return 0;
    return (text.size() + 1) / 9;
}

#if defined(__SSE2__)
// Bit i set where byte i of sixteen bytes starting at a position p with p % 9 == phase is the
// space after a word (position % 9 == 8).
inline constexpr std::array<std::uint32_t, 9> kSpaceEveryNinth = [] {
    std::array<std::uint32_t, 9> masks{};
    for (std::size_t phase = 0; phase < 9; ++phase)
        for (std::size_t i = 0; i < 16; ++i)
            if ((phase + i) % 9 == 8) masks[phase] |= 1U << i;
    return masks;
}();

// The bytes of the sixteen at `at` (at a position p with p % 9 == phase) that are not what a
// dump line has there: a space where the space after a word stands, a digit everywhere else.
inline std::uint32_t NotDumpLineBytes(const char* at, std::size_t phase) {
    const __m128i block = Load16(at);
    const std::uint32_t spaces = Marks(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')));
    const std::uint32_t digits =
        Marks(_mm_or_si128(BytesWithin(block, '0', 10), BytesWithin(block, 'A', 6)));
    return ((spaces ^ kSpaceEveryNinth[phase]) | ~(spaces | digits)) & 0xFFFFU;
}

inline std::size_t SpacedHexWordsSse2(std::string_view text) {
    if (text.size() < 16) return SpacedHexWordsPortable(text);
    if ((text.size() + 1) % 9 != 0) return 0;
    const auto fits = [&text](std::size_t pos, std::size_t phase) {
        return NotDumpLineBytes(text.data() + pos, phase) == 0;
    };
    std::size_t pos = 0, phase = 0;  // phase: pos % 9, sixteen on is seven on
    for (; pos + 16 <= text.size(); pos += 16, phase = phase >= 2 ? phase - 2 : phase + 7)
        if (!fits(pos, phase)) return 0;
    // The last bytes as the last sixteen.
    if (pos < text.size() && !fits(text.size() - 16, (text.size() - 16) % 9)) return 0;
    return (text.size() + 1) / 9;
}
#endif

inline std::size_t SpacedHexWords(std::string_view text) {
#if defined(__SSE2__)
    return SpacedHexWordsSse2(text);
#else
    return SpacedHexWordsPortable(text);
#endif
}

// ---- A dump line of a log -------------------------------------------------------------------
// Where the line feed stands that ends the text's first line when that line is words of eight
// upper-case hexadecimal digits, one space before each but the first, and nothing else (CR
// included): the usual line of a dump, its end found in the same pass. npos when it is anything
// else, or when the text ends first.

inline std::size_t SpacedHexLinePortable(std::string_view text) {
    for (std::size_t at = 0, column = 0; at < text.size();
         ++at, column = column == 8 ? 0 : column + 1) {
        const char c = text[at];
        if (column < 8) {
            if (!IsUpperHexDigit(c)) return std::string_view::npos;
        } else if (c == '\n') {
            return at;
        } else if (c != ' ') {
            return std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

#if defined(__SSE2__)
inline std::size_t SpacedHexLineSse2(std::string_view text) {
    constexpr auto kNone = std::string_view::npos;
    const std::size_t size = text.size();
    if (size < 16) return SpacedHexLinePortable(text);
    const auto wrong = [&text](std::size_t load, std::size_t phase) {
        return NotDumpLineBytes(text.data() + load, phase);
    };
    // The first wrong byte ends the line when it is a line feed where a space would stand.
    const auto end = [&text](std::size_t at, std::size_t phase) {
        return text[at] == '\n' && phase == 8 ? at : kNone;
    };
    std::size_t pos = 0, phase = 0;  // phase: pos % 9, sixteen on is seven on
    for (; pos + 16 <= size; pos += 16, phase = phase >= 2 ? phase - 2 : phase + 7) {
        if (const std::uint32_t found = wrong(pos, phase); found != 0) {
            const auto first = static_cast<std::size_t>(std::countr_zero(found));
            return end(pos + first, (phase + first) % 9);
        }
    }
    if (pos == size) return kNone;
    // The last bytes as the last sixteen, those before pos dropped.
    const std::size_t load = size - 16;
    const std::uint32_t found = wrong(load, load % 9) >> (pos - load);
    if (found == 0) return kNone;
    const auto first = static_cast<std::size_t>(std::countr_zero(found));
    return end(pos + first, (phase + first) % 9);
}
#endif

inline std::size_t SpacedHexLine(std::string_view text) {
#if defined(__SSE2__)
    return SpacedHexLineSse2(text);
#else
    return SpacedHexLinePortable(text);
#endif
}

// ---- One byte of a kind in a text: the C library's memchr ------------------------------------

// Where the first `c` from `from` on stands, or the text's size when there is none.
inline std::size_t FindByte(std::string_view text, char c, std::size_t from = 0) {
    if (from >= text.size()) return text.size();
    const auto* found =
        static_cast<const char*>(std::memchr(text.data() + from, c, text.size() - from));
    return found == nullptr ? text.size() : static_cast<std::size_t>(found - text.data());
}

// How many bytes of the text are `c`, jumping from one to the next: for short texts that hold
// few of them (the line feeds of a line), where this costs fewer instructions than CountByte.
inline std::size_t CountFewBytes(std::string_view text, char c) {
    std::size_t count = 0;
    for (std::size_t at = FindByte(text, c); at < text.size(); at = FindByte(text, c, at + 1))
        ++count;
    return count;
}

// ---- Short copies -----------------------------------------------------------------------------

// Copies the short texts a record is made of (labels, keys, words of a few characters) with two
// overlapping loads and stores instead of a call per text, and returns the end of the copy.
// Never reads or writes outside the source and the destination.
inline char* CopyText(char* to, std::string_view from) {
    const char* source = from.data();
    const std::size_t size = from.size();
    if (size >= 8 && size <= 16) {
        std::uint64_t head, tail;
        std::memcpy(&head, source, 8);
        std::memcpy(&tail, source + size - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + size - 8, &tail, 8);
    } else if (size >= 4 && size < 8) {
        std::uint32_t head, tail;
        std::memcpy(&head, source, 4);
        std::memcpy(&tail, source + size - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + size - 4, &tail, 4);
    } else if (size < 4) {
        for (std::size_t i = 0; i < size; ++i) to[i] = source[i];
    } else {
        std::memcpy(to, source, size);
    }
    return to + size;
}

// ---- The n-th byte of a kind ------------------------------------------------------------------

// Where the text up to and including its `count`-th `c` ends, with `count` lowered to 0; the
// text's size, with `count` lowered by all of its `c`, when it holds fewer. Looks at runs of
// 240 bytes (a line of thirty words is one or two): a run is counted whole with `countRun`, and
// only the run that holds the wanted byte is searched, eight bytes at a time.
template <class CountRun>
std::size_t ThroughNthByteWith(std::string_view text, char c, std::size_t& count,
                               const CountRun& countRun) {
    constexpr std::size_t kRun = 240;
    if (count == 0) return 0;
    for (std::size_t at = 0; at < text.size(); at += kRun) {
        const std::string_view run = text.substr(at, kRun);
        const std::size_t found = countRun(run, c);
        if (found < count) {
            count -= found;
            continue;
        }
        std::size_t pos = 0;
        for (; pos + 8 <= run.size(); pos += 8) {
            std::uint64_t marks = BytesEqual(Load8(run.data() + pos), c);
            const auto inBlock = static_cast<std::size_t>(CountTops(marks));
            if (inBlock < count) {
                count -= inBlock;
                continue;
            }
            for (; count > 1; --count) marks &= marks - 1;  // drops the first left, in byte order
            count = 0;
            return at + pos + FirstTop(marks) + 1;
        }
        for (;; ++pos)
            if (run[pos] == c && --count == 0) return at + pos + 1;
    }
    return text.size();
}

inline std::size_t ThroughNthBytePortable(std::string_view text, char c, std::size_t& count) {
    return ThroughNthByteWith(text, c, count, CountBytePortable);
}

// Counts the runs sixteen bytes at a time where the processor has SSE2.
inline std::size_t ThroughNthByte(std::string_view text, char c, std::size_t& count) {
    return ThroughNthByteWith(text, c, count,
                              [](std::string_view run, char b) { return CountByte(run, b); });
}

inline bool IsAscii(std::string_view text) { return AsciiPrefix(text) == text.size(); }
inline bool IsPlainJson(std::string_view text) { return PlainJsonPrefix(text) == text.size(); }

}  // namespace quillmark::bytes
