// SPDX-License-Identifier: MIT
// The byte-level helpers, both the portable and the SSE2 form, against a byte-by-byte loop at
// every length and alignment, with the byte that stops a scan at every position.

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/byte_scan.h"

namespace quillmark::bytes {
namespace {

std::size_t PrefixByLoop(std::string_view text, bool (*plain)(char)) {
    std::size_t pos = 0;
    while (pos < text.size() && plain(text[pos])) ++pos;
    return pos;
}
bool Ascii(char c) { return static_cast<unsigned char>(c) < 0x80; }
bool PlainJson(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
}

WordBreaks WordBreaksByLoop(const char* sixteen) {
    WordBreaks found{0, 0};
    for (int i = 0; i < 16; ++i) {
        const auto byte = static_cast<unsigned char>(sixteen[i]);
        if (byte == ' ') found.spaces |= 1U << i;
        if (byte == '\r' || byte == '\n' || byte >= 0x80) found.others |= 1U << i;
    }
    return found;
}

// Texts of every length up to 70 at every alignment within a buffer, of plain bytes with one
// stopping byte at every position (or none), the rest of the buffer filled with stopping bytes.
template <class Check>
void EveryLengthAndAlignment(std::string_view stoppers, const Check& check) {
    std::vector<char> buffer(128);
    for (char stopper : stoppers) {
        for (std::size_t align = 0; align < 16; ++align) {
            for (std::size_t length = 0; length <= 70; ++length) {
                for (std::size_t at = 0; at <= length; ++at) {
                    std::fill(buffer.begin(), buffer.end(), stopper);
                    for (std::size_t i = 0; i < length; ++i)
                        buffer[align + i] = static_cast<char>('0' + i % 40);
                    if (at < length) buffer[align + at] = stopper;
                    check(std::string_view(buffer.data() + align, length));
                }
            }
        }
    }
}

TEST(ByteScan, AsciiPrefixAtEveryLengthAndAlignment) {
    EveryLengthAndAlignment("\x80\xff\xc3", [](std::string_view text) {
        const std::size_t expected = PrefixByLoop(text, Ascii);
        ASSERT_EQ(AsciiPrefixPortable(text), expected) << text.size();
#if defined(__SSE2__)
        ASSERT_EQ(AsciiPrefixSse2(text), expected) << text.size();
#endif
        ASSERT_EQ(AsciiPrefix(text), expected);
        ASSERT_EQ(IsAscii(text), expected == text.size());
    });
}

// Each digit's four bits, top bit first, from any bit of a run to its end.
TEST(ByteScan, HexDigitBitsOfEveryDigit) {
    const std::string_view digits = "0123456789ABCDEF";
    std::string all;
    for (unsigned value = 0; value < 16; ++value)
        for (unsigned bit = 8; bit != 0; bit /= 2) all += (value & bit) != 0 ? '1' : '0';
    EXPECT_TRUE(IsUpperHex(digits));
    EXPECT_FALSE(IsUpperHex("0123456789abcdef"));
    for (std::size_t from = 0; from <= all.size(); from += 3) {
        std::string out(all.size(), '#');
        const char* end = HexDigitBits(digits, from, all.size(), out.data());
        EXPECT_EQ(out.substr(0, static_cast<std::size_t>(end - out.data())), all.substr(from));
    }
}

// Every length a short copy has a form for, nothing written before or beyond it.
TEST(ByteScan, CopyTextEveryLengthWholeAndNothingBeyond) {
    std::string source;
    for (int k = 0; k < 40; ++k) source += static_cast<char>('a' + k % 26);
    for (std::size_t size = 0; size <= source.size() - 3; ++size) {
        std::string target(48, '#');
        const char* end = CopyText(target.data() + 2, std::string_view(source).substr(3, size));
        EXPECT_EQ(end, target.data() + 2 + size);
        EXPECT_EQ(target, "##" + source.substr(3, size) + std::string(46 - size, '#')) << size;
    }
}

TEST(ByteScan, PlainJsonPrefixAtEveryLengthAndAlignment) {
    EveryLengthAndAlignment(std::string_view("\"\\\x00\x01\x1f\x7f\x80\xff", 8),
                            [](std::string_view text) {
                                const std::size_t expected = PrefixByLoop(text, PlainJson);
                                ASSERT_EQ(PlainJsonPrefixPortable(text), expected) << text.size();
#if defined(__SSE2__)
                                ASSERT_EQ(PlainJsonPrefixSse2(text), expected) << text.size();
#endif
                                ASSERT_EQ(IsPlainJson(text), expected == text.size());
                            });
}

// Counting and finding a byte; the buffer beyond the text holds it too.
TEST(ByteScan, CountAndFindByteAtEveryLengthAndAlignment) {
    EveryLengthAndAlignment(" \x80", [](std::string_view text) {
        std::size_t expected = 0;
        for (char c : text) expected += c == ' ';
        ASSERT_EQ(CountBytePortable(text, ' '), expected);
#if defined(__SSE2__)
        ASSERT_EQ(CountByteSse2(text, ' '), expected);
#endif
        ASSERT_EQ(CountFewBytes(text, ' '), expected);
        for (std::size_t from : {std::size_t{0}, text.size() / 2, text.size(), text.size() + 1})
            ASSERT_EQ(FindByte(text, ' ', from), std::min(text.find(' ', from), text.size()));
    });
}

// Through the n-th space for every n up to one past the spaces there are, also across the
// 240-byte runs the search counts whole.
TEST(ByteScan, ThroughNthByteAtEveryLengthAndCount) {
    std::string long500(500, 'x');
    for (std::size_t at : {0U, 7U, 239U, 240U, 241U, 479U, 499U}) long500[at] = ' ';
    const auto check = [](std::string_view text) {
        std::vector<std::size_t> through;  // after the n-th space
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == ' ') through.push_back(i + 1);
        for (std::size_t n = 1; n <= through.size() + 1; ++n) {
            const bool found = n <= through.size();
            for (auto* nth : {&ThroughNthBytePortable, &ThroughNthByte}) {
                std::size_t left = n;
                ASSERT_EQ(nth(text, ' ', left), found ? through[n - 1] : text.size()) << n;
                ASSERT_EQ(left, found ? 0 : n - through.size()) << n;
            }
        }
    };
    EveryLengthAndAlignment(" \x80", check);
    check(long500);
}

// Long runs fill the per-byte counters past what one byte holds.
TEST(ByteScan, CountByteOverLongRuns) {
    for (std::size_t size : {2039U, 2040U, 2048U, 4079U, 4080U, 4096U, 10000U}) {
        const std::string spaces(size, ' ');
        EXPECT_EQ(CountBytePortable(spaces, ' '), size);
#if defined(__SSE2__)
        EXPECT_EQ(CountByteSse2(spaces, ' '), size);
#endif
    }
}

HexClasses HexClassesByLoop(const char* sixteen) {
    HexClasses found{0, 0, 0, 0};
    for (int i = 0; i < 16; ++i) {
        const std::string_view upper("0123456789ABCDEF"), lower("abcdef");
        const char c = sixteen[i];
        if (c == ' ') found.spaces |= 1U << i;
        if (upper.find(c) != upper.npos) found.upperHex |= 1U << i;
        if (upper.find(c) != upper.npos || lower.find(c) != lower.npos) found.hex |= 1U << i;
        if (static_cast<unsigned char>(c) >= 0x80) found.beyondAscii |= 1U << i;
    }
    return found;
}

TEST(ByteScan, WordBreaksAndHexClassesOfRandomBlocks) {
    // The bytes at either side of each range of digits and letters, too.
    const std::string_view bytes("0A \r\n\t\x7f\x80\xc3\xff/9:@FG`afg\xb0\xc6", 22);
    std::mt19937 random(7);
    char block[16];
    for (int round = 0; round < 20000; ++round) {
        for (char& c : block) c = bytes[random() % bytes.size()];
        const WordBreaks expected = WordBreaksByLoop(block);
        const HexClasses classes = HexClassesByLoop(block);
        ASSERT_EQ(FindWordBreaksPortable(block), expected);
        ASSERT_EQ(ClassifyHexPortable(block), classes);
#if defined(__SSE2__)
        ASSERT_EQ(FindWordBreaksSse2(block), expected);
        ASSERT_EQ(ClassifyHexSse2(block), classes);
#endif
    }
}

// Every byte value: a mask marks exactly the bytes it names, whatever stands beside them.
TEST(ByteScan, MasksMarkExactlyTheirBytes) {
    for (int value = 0; value < 256; ++value) {
        for (int neighbour : {0x00, 0x1f, 0x20, 0x7f, 0x80, 0xff}) {
            char eight[8];
            std::fill(std::begin(eight), std::end(eight), static_cast<char>(neighbour));
            eight[3] = static_cast<char>(value);
            const std::uint64_t block = Load8(eight);
            const auto at3 = [](std::uint64_t mask) { return (mask >> 31) & 1; };
            EXPECT_EQ(at3(BytesEqual(block, ' ')), value == ' ' ? 1U : 0U) << value;
            EXPECT_EQ(at3(BytesBelowBlank(block)), value < 0x20 ? 1U : 0U) << value;
            EXPECT_EQ(at3(BytesBeyondAscii(block)), value >= 0x80 ? 1U : 0U) << value;
            EXPECT_EQ(IsWordBreakByte(eight[3]),
                      value == ' ' || value == '\r' || value == '\n' || value >= 0x80)
                << value;
            EXPECT_EQ(PackTops(BytesEqual(block, static_cast<char>(value))) & 0x08, 0x08U) << value;
        }
    }
}

// Words of eight upper-case digits, single-spaced, 0 to 7 of them at every alignment, each with
// every byte in turn made one that breaks the pattern, and the same with one byte more or less.
// As a log line: the same text, then a line feed and a few bytes more or none, or cut short.
TEST(ByteScan, SpacedHexWordsAtEveryCountAndAlignment) {
    const auto byLoop = [](std::string_view text) -> std::size_t {
        std::size_t words = 0;
        for (std::size_t at = 0;; at += 9, ++words) {
            if (at + 8 > text.size()) return 0;
            for (std::size_t i = at; i < at + 8; ++i)
                if (!(text[i] >= '0' && text[i] <= '9') && !(text[i] >= 'A' && text[i] <= 'F'))
                    return 0;
            if (at + 8 == text.size()) return words + 1;
            if (text[at + 8] != ' ') return 0;
        }
    };
    std::vector<char> buffer(128);
    for (std::size_t align = 0; align < 16; ++align) {
        for (std::size_t words = 0; words < 8; ++words) {
            std::string dump;
            for (std::size_t k = 0; k < words; ++k)
                dump +=
                    std::string(k > 0 ? " " : "") + std::string("0123456789ABCDEF").substr(k, 8);
            for (const std::string_view tail : {"", " ", "0", "00000000"}) {
                const std::string whole = dump + std::string(tail);
                for (std::size_t at = 0; at <= whole.size(); ++at) {
                    for (char breaker :
                         {' ', '!', 'a', 'G', 'Q', '/', ':', '@', '\x80', '\xC6', '\n'}) {
                        std::string text = whole;
                        if (at < text.size()) text[at] = breaker;
                        std::fill(buffer.begin(), buffer.end(), 'A');
                        std::copy(text.begin(), text.end(), buffer.begin() + align);
                        const std::string_view view(buffer.data() + align, text.size());
                        const std::size_t expected = byLoop(view);
                        ASSERT_EQ(SpacedHexWordsPortable(view), expected) << text;
#if defined(__SSE2__)
                        ASSERT_EQ(SpacedHexWordsSse2(view), expected) << text;
#endif
                        buffer[align + text.size()] = '\n';
                        const std::size_t feed = text.find('\n');
                        const std::size_t lineEnd = feed == std::string::npos ? text.size() : feed;
                        for (const std::size_t more : {0, 1, 3, 24}) {
                            const std::string_view log(buffer.data() + align, text.size() + more);
                            const std::size_t end =
                                lineEnd < log.size() && byLoop(log.substr(0, lineEnd)) > 0
                                    ? lineEnd
                                    : std::string_view::npos;
                            ASSERT_EQ(SpacedHexLinePortable(log), end) << text << '+' << more;
#if defined(__SSE2__)
                            ASSERT_EQ(SpacedHexLineSse2(log), end) << text << '+' << more;
#endif
                        }
                    }
                }
            }
        }
    }
}

TEST(ByteScan, HexDigitsOfEitherCaseAndLowerCasePairs) {
    std::string digits;
    for (int c = 0; c < 256; ++c)
        if (IsUpperHexDigit(static_cast<char>(c))) digits += static_cast<char>(c);
    EXPECT_EQ(digits, "0123456789ABCDEF");
    for (int value = 0; value < 16; ++value) EXPECT_EQ(HexValue("0123456789ABCDEF"[value]), value);
    std::string eitherCase;
    for (int c = 0; c < 256; ++c)
        if (IsHexDigitEitherCase(static_cast<char>(c))) eitherCase += static_cast<char>(c);
    EXPECT_EQ(eitherCase, "0123456789ABCDEFabcdef");
    for (int byte = 0; byte < 256; ++byte) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02x", byte);
        const auto pair = LowerHexPair(static_cast<unsigned char>(byte));
        EXPECT_EQ(std::string(pair.begin(), pair.end()), expected);
    }
}

}  // namespace
}  // namespace quillmark::bytes
