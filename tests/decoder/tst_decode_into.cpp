// SPDX-License-Identifier: MIT
// The one decoding path against the plain reference (tests/support/ReferenceDecoder.h): the
// words and bit strings of ReadDataWords and of a streamed DataWordReader, the record of
// DecodeCallRegister, DecodeText and a RecordView kept from text to text, and the report lines;
// byte for byte, on tricky texts and on 20,000 random ones.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "decoder/byte_scan.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/record_view.h"
#include "decoder/text_layout.h"
#include "tests/support/ReferenceDecoder.h"
#include "tests/support/WorkedExample.h"

namespace quillmark {
namespace {

// Every text, code and the flag of two records; the first difference is named.
testing::AssertionResult SameRecord(const DecodedFields& expected, const DecodedFields& actual) {
    for (const FieldRow& row : kFields) {
        if (expected[row.field] != actual[row.field])
            return testing::AssertionFailure() << row.key << ": \"" << expected[row.field]
                                               << "\" != \"" << actual[row.field] << "\"";
        if (expected.Code(row.field) != actual.Code(row.field))
            return testing::AssertionFailure() << row.key << " code: \"" << expected.Code(row.field)
                                               << "\" != \"" << actual.Code(row.field) << "\"";
    }
    if (expected.PointersDiffer != actual.PointersDiffer)
        return testing::AssertionFailure() << "PointersDiffer";
    return testing::AssertionSuccess();
}

testing::AssertionResult SameWords(const DataWords& expected, const DataWords& actual) {
    for (int k = 0; k <= kLastWord; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        if (expected.HexWords[slot] != actual.HexWords[slot] ||
            expected.BinWords[slot] != actual.BinWords[slot])
            return testing::AssertionFailure() << "word " << k << ": \"" << actual.HexWords[slot]
                                               << "\" bits \"" << actual.BinWords[slot] << "\"";
    }
    return testing::AssertionSuccess();
}

// Decodes the text every way the product does, each against the reference.
testing::AssertionResult SameAsReference(std::string_view text, RecordView& kept) {
    const DataWords referenceWords = reference::ReadWords(text);
    const DecodedFields expected = reference::Decode(referenceWords);

    DataWords words;
    ReadDataWords(text, words);
    if (auto same = SameWords(referenceWords, words); !same) return same << " (ReadDataWords)";
    // The same text in pieces of one to seven bytes, cut inside characters too.
    DataWords streamed;
    DataWordReader reader(streamed);
    for (std::size_t pos = 0, size = 1; pos < text.size(); pos += size, size = size % 7 + 1)
        if (!reader.Feed(text.substr(pos, size))) break;
    reader.Finish();
    if (auto same = SameWords(referenceWords, streamed); !same) return same << " (DataWordReader)";

    if (auto same = SameRecord(expected, DecodeCallRegister(words)); !same)
        return same << " (DecodeCallRegister)";
    if (auto same = SameRecord(expected, DecodeText(text)); !same) return same << " (DecodeText)";
    kept.Decode(text);
    DecodedFields viewed;
    kept.CopyTo(viewed);
    if (auto same = SameRecord(expected, viewed); !same) return same << " (kept RecordView)";

    // A dump of eight-digit words joined by single spaces, laid out as the log reader lays it.
    const bool eightDigitDump = text.size() % 9 == 8 && text.size() <= 9 * kLastWord - 1 && [text] {
        for (std::size_t i = 0; i < text.size(); ++i)
            if (i % 9 == 8 ? text[i] != ' ' : !bytes::IsUpperHexDigit(text[i])) return false;
        return true;
    }();
    if (eightDigitDump) {
        TextLayout layout;
        layout.ReadEightDigitWords(text);
        kept.Decode(layout);
        DecodedFields laidOut;
        kept.CopyTo(laidOut);
        if (auto same = SameRecord(expected, laidOut); !same)
            return same << " (eight-digit layout)";
        std::string report;
        AppendReport(report, kept, "\r\n");
        if (report != BuildReport(CaptionsInLabelOrder(expected)))
            return testing::AssertionFailure() << "report from the eight-digit layout:\n" << report;
        kept.Decode(text);  // the text's own reading again, for the report below
    }

    std::string report = "kept\n";
    AppendReport(report, kept, "\r\n");
    if (report != "kept\n" + BuildReport(CaptionsInLabelOrder(expected)))
        return testing::AssertionFailure() << "report from views:\n" << report;
    return testing::AssertionSuccess();
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
        "0008F5B4 0000\xc2\xa0"
        "102 0000\xc2\xa0"
        "A48 000A\xc2\xa0"
        "21 \xc2\xa0",
        "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9 00\xc3\xa9\xc3\xa9"
        "0102 0\xe2\x82\xac"
        "001A48",
        "\xff\xfe 0000\xc3 00\xe2\x82 0000\xf0\x9f\x98 \xc3",
        "0000\xed\xa0\x80"
        "102 \xc0\xaf \xe0\x80\x80 \xf4\x90\x80\x80 \xf0\x9f\x98\x80",
        "\xe2\x82",
        "0 0 000\xe2\x82\r\n\xac"
        "1A48 \r0\n0\r0\n0",
        Words(12, "1") + " " +
            Words(18,
                  "0000\xc3\xa9"
                  "A0B"),
        Words(12, "0000000") + " " + Words(18, "12"),
        Words(11, "0") + " 000003E\xc3\xa9 " + Words(5, "0000b1a3"),
        Words(11, "0") + " 0000003" + std::string(1000, 'E') + " 1",
        // Bits of short, long and partly hexadecimal words 3 and 12.
        Words(2, "0") + " 3E5 " + Words(8, "0") + " F",
        Words(2, "0") + " 0000B1A3FF " + Words(8, "0") + " 12345678ABC",
        Words(2, "0") + " 00G0B1A3 " + Words(8, "0") + " 000003e5",
        Words(2, "0") + " 0000B1A\xc3\xa9 " + Words(8, "0") +
            " \xc3\xa9"
            "21",
        Words(2, "0") + " " + std::string(5000, 'F') + "\xff 1",
        Words(30, "0000B1A3") + " 0000FFFF " + Words(100, "\xff"),
        Words(29, "1") + " 0000B1A\r\n" + " FF",
        Words(30, "1") + "\r",
        std::string("0\0"
                    "00\t0102 \x01\x7f",
                    14),
    };
    return texts;
}

TEST(OneDecodingPath, TrickyTextsGiveTheReferenceRecord) {
    RecordView kept;  // one record for every text, as a long run keeps it
    for (const std::string& text : TrickyTexts())
        EXPECT_TRUE(SameAsReference(text, kept)) << testing::PrintToString(text);
}

TEST(OneDecodingPath, RandomTextsGiveTheReferenceRecord) {
    // Pieces that change how words are cut or how characters are counted, mostly hex digits.
    const std::vector<std::string> pieces{
        "0",
        "1",
        "2",
        "3",
        "5",
        "7",
        "8",
        "A",
        "B",
        "C",
        "E",
        "F",
        "a",
        "b",
        "x",
        " ",
        " ",
        " ",
        " ",
        "  ",
        "\r",
        "\n",
        "\r\n",
        "\t",
        "\xc2\xa0",
        "\xc3\xa9",
        "\xe2\x82\xac",
        "\xf0\x9f\x98\x80",
        "\xff",
        "\xc3",
        "\xe2\x82",
        "\xed\xa0\x80",
        "\xf0\x9f\x98",
        "\x80",
    };
    std::mt19937 random(20261209);
    RecordView kept;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, round % 4 == 0 ? 600 : 120)(random);
        for (int k = 0; k < count; ++k) {
            // Runs of hex digits keep most words eight characters or so long.
            const std::size_t pick =
                std::uniform_int_distribution<std::size_t>(0, pieces.size() * 3)(random);
            text += pick < pieces.size() ? pieces[pick] : pieces[pick % 12];
        }
        ASSERT_TRUE(SameAsReference(text, kept)) << testing::PrintToString(text);
    }
}

// Dumps of 1 to 30 eight-digit words, as most dumps are, drawn so that the digits where the
// fields' cuts fall take every value: each pointer and unit type, main PM codes with and
// without aux tables, dialed digits with empty slots ("0") and zeros ("A") in every place.
TEST(OneDecodingPath, EightDigitDumpsGiveTheReferenceRecord) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    constexpr std::string_view kSlots = "000AAA123F";  // mostly empty slots and zeros
    std::mt19937 random(20261211);
    RecordView kept;
    for (int round = 0; round < 6000; ++round) {
        const int count = round % 30 + 1;
        std::string text;
        for (int k = 1; k <= count; ++k) {
            if (k > 1) text += ' ';
            for (int digit = 0; digit < 8; ++digit) {
                const bool slot = k >= 13 && random() % 2 == 0;
                text += slot ? kSlots[random() % kSlots.size()] : kDigits[random() % 16];
            }
        }
        ASSERT_TRUE(SameAsReference(text, kept)) << testing::PrintToString(text);
    }
}

// Arrays filled by hand are decoded as they stand: bit strings are read, not made again, and
// bytes that are not UTF-8 are shown as U+FFFD.
TEST(OneDecodingPath, HandFilledArraysAsTheReferenceReadsThem) {
    DataWords words = reference::ReadWords(sample::kWorkedExample);
    words.HexWords[1] = "0008\xff";
    words.BinWords[3] =
        "1111111111111111111"
        "10011"
        "01001"
        "000";  // not the bits of word 3
    words.BinWords[12] =
        "\xc3\xa9"
        "0000000000000000000000"
        "11111"
        "00001";
    words.HexWords[13] =
        "0000\xe2\x82"
        "1";
    EXPECT_TRUE(SameRecord(reference::Decode(words), DecodeCallRegister(words)));
    EXPECT_EQ(DecodeCallRegister(words)[Field::CallRegister], "0008\xef\xbf\xbd");
}

}  // namespace
}  // namespace quillmark
