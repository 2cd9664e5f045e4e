// SPDX-License-Identifier: MIT
// Decoding into a kept record from views of the text, against the word arrays and bit strings
// of ReadDataWords and DecodeCallRegister: the same record, byte for byte, on any text.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

// Every text, code and the flag of two records; the first difference is named.
testing::AssertionResult SameRecord(const DecodedFields& expected, const DecodedFields& actual) {
    for (const FieldRow& row : kFields) {
        if (expected.*row.member != actual.*row.member)
            return testing::AssertionFailure() << row.key << ": \"" << expected.*row.member
                                               << "\" != \"" << actual.*row.member << "\"";
        if (row.code != nullptr && expected.Codes.*row.code != actual.Codes.*row.code)
            return testing::AssertionFailure() << row.key << " code: \"" << expected.Codes.*row.code
                                               << "\" != \"" << actual.Codes.*row.code << "\"";
    }
    if (expected.PointersDiffer != actual.PointersDiffer)
        return testing::AssertionFailure() << "PointersDiffer";
    return testing::AssertionSuccess();
}

DecodedFields Reference(std::string_view text) {
    DataWords words;
    ReadDataWords(text, words);
    return DecodeCallRegister(words);
}

std::string Words(int count, const std::string& word) {
    std::string text;
    for (int k = 1; k <= count; ++k) text += (k > 1 ? " " : "") + word;
    return text;
}

// Texts where the views could part from the arrays: line breaks inside and after words, broken
// and cut-off UTF-8 next to spaces, non-ASCII characters inside the cut positions, words shorter
// and far longer than eight characters, and more than thirty words.
const std::vector<std::string>& TrickyTexts() {
    static const std::vector<std::string> texts{
        "",
        std::string(sample::kWorkedExample),
        " " + std::string(sample::kWorkedExample),
        std::string(sample::kWorkedExample) + "\r\n",
        "0008F5B4\r\n 0000\r\n0102 00001A48\r",
        "\r\n\r\n",
        "A  B   C",
        "0008F5B4 0000\xc2\xa0" "102 0000\xc2\xa0" "A48 000A\xc2\xa0" "21 \xc2\xa0",
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 00\xc3\xa9\xc3\xa9" "0102 0\xe2\x82\xac" "001A48",
        "\xff\xfe 0000\xc3 00\xe2\x82 0000\xf0\x9f\x98 \xc3",
        "0000\xed\xa0\x80" "102 \xc0\xaf \xe0\x80\x80 \xf4\x90\x80\x80 \xf0\x9f\x98\x80",
        "\xe2\x82",
        "0 0 000\xe2\x82\r\n\xac" "1A48 \r0\n0\r0\n0",
        Words(12, "1") + " " + Words(18, "0000\xc3\xa9" "A0B"),
        Words(12, "0000000") + " " + Words(18, "12"),
        Words(11, "0") + " 000003E\xc3\xa9 " + Words(5, "0000b1a3"),
        Words(11, "0") + " 0000003" + std::string(1000, 'E') + " 1",
        Words(2, "0") + " " + std::string(5000, 'F') + "\xff 1",
        Words(30, "0000B1A3") + " 0000FFFF " + Words(100, "\xff"),
        Words(29, "1") + " 0000B1A\r\n" + " FF",
        Words(30, "1") + "\r",
        std::string("0\0" "00\t0102 \x01\x7f", 14),
    };
    return texts;
}

TEST(DecodeTextInto, TrickyTextsGiveTheReferenceRecord) {
    DecodedFields kept;  // one record for every text, as a long run keeps it
    for (const std::string& text : TrickyTexts()) {
        DecodeText(text, kept);
        EXPECT_TRUE(SameRecord(Reference(text), kept)) << testing::PrintToString(text);
    }
}

TEST(DecodeTextInto, RandomTextsGiveTheReferenceRecord) {
    // Pieces that change how words are cut or how characters are counted, mostly hex digits.
    const std::vector<std::string> pieces{
        "0", "1", "2", "3", "5", "7", "8", "A", "B", "C", "E", "F", "a", "b", "x", " ", " ", " ", " ",
        "  ", "\r", "\n", "\r\n", "\t", "\xc2\xa0", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
        "\xff", "\xc3", "\xe2\x82", "\xed\xa0\x80", "\xf0\x9f\x98", "\x80",
    };
    std::mt19937 random(20261209);
    DecodedFields kept;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, round % 4 == 0 ? 600 : 120)(random);
        for (int k = 0; k < count; ++k) {
            // Runs of hex digits keep most words eight characters or so long.
            const std::size_t pick = std::uniform_int_distribution<std::size_t>(0, pieces.size() * 3)(random);
            text += pick < pieces.size() ? pieces[pick] : pieces[pick % 12];
        }
        DecodeText(text, kept);
        ASSERT_TRUE(SameRecord(Reference(text), kept)) << testing::PrintToString(text);
    }
}

TEST(AppendReport, SameLinesAsTheClipboardReport) {
    DecodedFields fields;
    DecodeText(sample::kWorkedExample, fields);
    std::string report = "before\n";
    AppendReport(report, fields, "\r\n");
    EXPECT_EQ(report, "before\n" + std::string(sample::kWorkedExampleReport));

    fields.CallRegister = "0008\xff";  // a record filled by hand may hold any bytes
    std::string lines;
    AppendReport(lines, fields, "\n");
    std::string expected = BuildReport(CaptionsInLabelOrder(fields));
    for (std::size_t pos = 0; (pos = expected.find("\r\n", pos)) != std::string::npos;) expected.erase(pos, 1);
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines.substr(0, 23), "Call Register: 0008\xef\xbf\xbd\n");
}

}  // namespace
}  // namespace quillmark
