// SPDX-License-Identifier: MIT
// Binary, BinVal, MidText and RightText.

#include <gtest/gtest.h>

#include <string>

#include "decoder/decoder.h"

namespace quillmark {
namespace {

struct BinaryCase {
    std::string arg;
    std::string bits;
};

TEST(Binary, EveryDigitAndTheNonDigits) {
    const BinaryCase cases[] = {
        {"0", "0000"},         {"1", "0001"},   {"2", "0010"},
        {"3", "0011"},         {"4", "0100"},   {"5", "0101"},
        {"6", "0110"},         {"7", "0111"},   {"8", "1000"},
        {"9", "1001"},         {"A", "1010"},   {"B", "1011"},
        {"C", "1100"},         {"D", "1101"},   {"E", "1110"},
        {"F", "1111"},         {"", ""},         // empty in, empty out
        {" F ", "1111"},                         // spaces at both ends are trimmed first
        {"f", "ERROR"},                          // lower case is no digit
        {"G", "ERROR"},        {" ", "ERROR"},   // nothing left after trimming
        {"   ", "ERROR"},      {"12", "ERROR"},  // two characters
        {"\t", "ERROR"},       {"/", "ERROR"},   // the neighbours of the digit ranges
        {":", "ERROR"},        {"@", "ERROR"},  {std::string(1, '\0'), "ERROR"},
        {"\xc2\xa0", "ERROR"},  // a non-breaking space is one character, and no space
        {"\xc3\x89", "ERROR"},
    };
    for (const BinaryCase& c : cases)
        EXPECT_EQ(Binary(c.arg), c.bits) << "argument '" << c.arg << "'";
}

struct BinValCase {
    std::string bits;
    int value;
};

TEST(BinVal, WeightsSixteenDownToOne) {
    const BinValCase cases[] = {
        {"11111", 31},
        {"00000", 0},
        {"", 0},
        {"00101", 5},
        {"10000", 16},
        {"1", 16},
        {"0101", 10},
        {"ERROR", 0},
        {"111111111", 31},
        {"000011", 1},
        {"1R1O1", 21},
        {"\xc3\xa9"
         "1111",
         15},  // a two-byte character takes position 1 alone
        {"1\xc3\xa9"
         "111",
         23},
        {"11111\xc3\xa9", 31},
        {"1\xff"
         "1",
         20},
    };
    for (const BinValCase& c : cases)
        EXPECT_EQ(BinVal(c.bits), c.value) << "bits '" << c.bits << "'";
}

struct MidCase {
    std::string s;
    std::size_t start, length;
    std::string result;
};

TEST(MidText, OneBasedAndClipping) {
    const MidCase cases[] = {
        {"00000102", 5, 2, "01"},
        {"00000102", 7, 2, "02"},
        {"00000102", 8, 2, "2"},  // runs past the end
        {"00000102", 9, 2, ""},   // starts past the end
        {"00000102", 1, 0, ""},
        {"0000", 5, 2, ""},
        {"", 1, 5, ""},
        {"ABC", 1, 100, "ABC"},
        {"ABC", 0, 2, "AB"},  // a start of 0 reads as 1
        {"\xc2\xa0"
         "BC",
         2, 1, "B"},
        {"A\xc3\xa9"
         "C",
         2, 1, "\xc3\xa9"},
        {"A\xff"
         "C",
         2, 2,
         "\xef\xbf\xbd"
         "C"},
    };
    for (const MidCase& c : cases)
        EXPECT_EQ(MidText(c.s, c.start, c.length), c.result)
            << "'" << c.s << "', " << c.start << ", " << c.length;
}

struct RightCase {
    std::string s;
    std::size_t count;
    std::string result;
};

TEST(RightText, LastCharactersOrAll) {
    const RightCase cases[] = {
        {"000A0421", 4, "0421"},
        {"04", 4, "04"},
        {"0", 2, "0"},
        {"", 2, ""},
        {"ABC", 0, ""},
        {"ABC", 3, "ABC"},
        {"A\xc3\xa9", 1, "\xc3\xa9"},
        {"A\xc3\xa9", 2, "A\xc3\xa9"},
        {"AB\xe2\x82\xac"
         "C",
         2,
         "\xe2\x82\xac"
         "C"},
        {"A\x80\x80\x80", 2, "\xef\xbf\xbd\xef\xbf\xbd"},  // stray continuation bytes: one each
        {"A\xe2\x82", 1, "\xef\xbf\xbd"},                  // unfinished: one replacement
        {"A\xe2\x82"
         "B",
         2,
         "\xef\xbf\xbd"
         "B"},
        {"\xf0\x9f\x98\x80\x80", 2, "\xf0\x9f\x98\x80\xef\xbf\xbd"},
        {"\xe2\x82\xac\x80", 1, "\xef\xbf\xbd"},
        {"\xe2\x82\xac\x80", 2, "\xe2\x82\xac\xef\xbf\xbd"},
        {"A" + std::string(1000, '\x80'), 2, "\xef\xbf\xbd\xef\xbf\xbd"},
        {"\x80\x80\x80\x80\x80", 9, "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
    };
    for (const RightCase& c : cases)
        EXPECT_EQ(RightText(c.s, c.count), c.result) << "'" << c.s << "', " << c.count;
}

}  // namespace
}  // namespace quillmark
