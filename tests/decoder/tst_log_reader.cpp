// SPDX-License-Identifier: MIT
// The log reader: where a BUG message starts and ends, which lines continue its dump, and that
// what it hands out decodes as the reference decodes the true words.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "decoder/log_reader.h"
#include "tests/support/ReferenceDecoder.h"

namespace quillmark {
namespace {

struct Found {
    std::uint64_t line;
    std::uint64_t lastLine;
    std::string bug;
    std::string text;
    std::uint64_t words;
};

struct ReaderRow {
    const char* name;
    std::string log;
    std::vector<Found> found;
    std::uint64_t skipped;
};

const std::string kW13 =
    "0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 00000000 "
    "00000000 00000000 000003E5 0000B1A3";

std::string Words(int from, int to) {
    std::string out;
    for (int k = from; k <= to; ++k) out += (k > from ? " " : "") + std::string(7, '0') + "A";
    return out;
}

const std::vector<ReaderRow> kReaderRows = {
    {"one_line", "BUG0001 " + kW13 + "\n", {{1, 1, "BUG0001", kW13, 13}}, 0},
    {"wrapped_with_leading_spaces",
     "12:00:01 OK\nBUG42 0008F5B4 00000102 00001A48\n   000A0421 000B0422 0000000C 00090010  \n"
     "  00090020 00000000 00000000 00000000 000003E5 0000B1A3\n>\n",
     {{2, 4, "BUG42", kW13, 13}},
     2},
    {"wrapped_without_spaces_crlf",
     "BUG7 0008F5B4 00000102 00001A48 000A0421\r\n000B0422 0000000C 00090010 00090020\r\n"
     "00000000 00000000 00000000 000003E5 0000B1A3\r\nOK\r\n",
     {{1, 3, "BUG7", kW13, 13}},
     1},
    {"bug_line_followed_by_bug_line",
     "  BUG1\nBUG2 " + kW13 + "\n",
     {{1, 1, "BUG1", "", 0}, {2, 2, "BUG2", kW13, 13}},
     0},
    {"short_dump_then_prompt",
     "BUG3 0008F5B4 00000102\n0000 0001\nREQ: prt\n0008F5B4\n",
     {{1, 2, "BUG3", "0008F5B4 00000102 0000 0001", 4}},
     2},
    {"end_of_input_without_line_end",
     "x\nBUG9 0008F5B4\n00000102",
     {{2, 3, "BUG9", "0008F5B4 00000102", 2}},
     1},
    {"other_messages_with_hex_words",
     "ERR0100 0008F5B4 00000102\n00001A48\nBUGS 1 2\nBUG 12\nBUG1x 3\n0000 1111\n",
     {},
     6},
    {"bug_digits_run_into_a_hex_word",
     "BUG1A0000001 00000102\nBUG2 0008F5B4\n",
     {{2, 2, "BUG2", "0008F5B4", 1}},
     1},
    {"hex_line_with_too_long_or_foreign_word_ends_dump",
     "BUG5 0008F5B4\n000000001 2\n00000102 zz\n",
     {{1, 1, "BUG5", "0008F5B4", 1}},
     2},
    {"lower_case_and_nul_kept_in_bug_line",
     std::string("BUG6 0008f5b4 00") + '\0' + "\x01 1\n",
     {{1, 1, "BUG6", std::string("0008f5b4 00") + '\0' + "\x01 1", 3}},
     0},
    {"more_than_thirty_words",
     "BUG8 " + Words(1, 20) + "\n" + Words(21, 35) + "\n",
     {{1, 2, "BUG8", Words(1, 30), 35}},
     0},
    {"blank_line_ends_dump", "BUG8 0008F5B4\n\n00000102\n", {{1, 1, "BUG8", "0008F5B4", 1}}, 2},
};

class LogReaderRules : public testing::TestWithParam<ReaderRow> {};

TEST_P(LogReaderRules, FindsEveryMessageAndCountsTheRest) {
    const ReaderRow& row = GetParam();
    // Fed whole and byte by byte, the log reads the same.
    for (const bool byteByByte : {false, true}) {
        std::vector<Found> found;
        LogReader reader([&found](const LogMessage& m) {
            found.push_back({m.line, m.lastLine, std::string(m.bug), std::string(m.text), m.words});
        });
        if (byteByByte) {
            for (char c : row.log) reader.Feed(std::string_view(&c, 1));
        } else {
            reader.Feed(row.log);
        }
        reader.Finish();
        ASSERT_EQ(found.size(), row.found.size()) << (byteByByte ? "byte by byte" : "whole");
        for (std::size_t k = 0; k < found.size(); ++k) {
            EXPECT_EQ(found[k].line, row.found[k].line);
            EXPECT_EQ(found[k].lastLine, row.found[k].lastLine);
            EXPECT_EQ(found[k].bug, row.found[k].bug);
            EXPECT_EQ(found[k].text, row.found[k].text);
            EXPECT_EQ(found[k].words, row.found[k].words);
        }
        EXPECT_EQ(reader.Counts().skippedLines, row.skipped);
        EXPECT_EQ(reader.Counts().messages, row.found.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, LogReaderRules, testing::ValuesIn(kReaderRows),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<std::string> NoteTexts(const LogDump& dump) {
    std::vector<std::string> out;
    for (const LogNote& note : dump.notes) out.push_back(note.text);
    return out;
}

TEST(LogReader, ShortDumpsAndWordsSplitAtALineEndAreNoted) {
    const auto dumps = ReadLog(
        "BUG1 0008F5B4 00000102 00001A48 000A0421 000B0422 0000000C 00090010 00090020 0000\n"
        "0000\n");
    ASSERT_EQ(dumps.size(), 1U);
    EXPECT_EQ(NoteTexts(dumps[0]),
              (std::vector<std::string>{
                  "dump has 10 words: fields from word 11 on are empty",
                  "words 9 and 10 have 4 and 4 characters, at the end of line 1 and the start of "
                  "line 2: one word split at the line end?",
                  "word 9 has 4 characters, not 8", "word 10 has 4 characters, not 8"}));
}

TEST(LogReader, WordPlacesPointIntoTheLog) {
    // Columns count characters: the accented word before word 2 is one character shorter than
    // its bytes.
    const auto dumps = ReadLog("junk\n BUG1 \xC3\xA9t\xC3\xA9  0008f5B4\n  00000102\n");
    ASSERT_EQ(dumps.size(), 1U);
    ASSERT_EQ(dumps[0].places.size(), 3U);
    const auto at = [&](int k) {
        const LogWordPlace& p = dumps[0].places[static_cast<std::size_t>(k)];
        return std::vector<std::int64_t>{static_cast<std::int64_t>(p.line),
                                         static_cast<std::int64_t>(p.column),
                                         static_cast<std::int64_t>(p.length), p.faulty};
    };
    EXPECT_EQ(at(0), (std::vector<std::int64_t>{2, 6, 3, 0}));
    EXPECT_EQ(at(1), (std::vector<std::int64_t>{2, 11, 8, 4}));
    EXPECT_EQ(at(2), (std::vector<std::int64_t>{3, 2, 8, -1}));
}

// A generated log of junk, other messages and dumps wrapped at random, with random words of
// every kind: what the reader hands out decodes as the reference decodes the words written.
TEST(LogReader, GeneratedLogDecodesAsTheReferenceDecodesTheTrueWords) {
    std::mt19937 random(2026);
    const auto pick = [&random](std::size_t n) { return random() % n; };
    const std::vector<std::string> junk = {
        "", "OK", ">", "12:00:01 DEC 10", "ERR0042 0000 1A2B", "  ", "REQ: prt", "BUGS 0001"};
    std::string log;
    std::vector<std::vector<std::string>> truth;
    for (int message = 0; message < 400; ++message) {
        log += junk[pick(junk.size())] + "\n";
        std::vector<std::string> words;
        const std::size_t count = pick(40);
        for (std::size_t k = 0; k < count; ++k) {
            std::string word;
            const std::size_t length = 1 + pick(8);
            for (std::size_t c = 0; c < length; ++c) word += "0123456789ABCDEFabc"[pick(19)];
            words.push_back(word);
        }
        log += "BUG" + std::to_string(message);
        for (std::size_t k = 0; k < words.size(); ++k) {
            const bool wrap = k > 0 && pick(6) == 0;
            log += wrap ? (pick(2) ? "\r\n" : "\n   ") : std::string(1 + pick(2), ' ');
            log += words[k];
        }
        log += pick(2) ? "\n" : " \n";
        truth.push_back(words);
    }
    const auto dumps = ReadLog(log);
    ASSERT_EQ(dumps.size(), truth.size());
    for (std::size_t m = 0; m < dumps.size(); ++m) {
        DataWords words;
        for (std::size_t k = 0; k < truth[m].size() && k < kLastWord; ++k) {
            words.HexWords[k + 1] = truth[m][k];
            for (char c : truth[m][k]) words.BinWords[k + 1] += Binary(std::string(1, c));
        }
        const DecodedFields expected = reference::Decode(words);
        const DecodedFields actual = DecodeText(dumps[m].text);
        EXPECT_EQ(actual.texts, expected.texts) << "message " << m;
        EXPECT_EQ(dumps[m].words, truth[m].size());
    }
}

}  // namespace
}  // namespace quillmark
