// SPDX-License-Identifier: MIT
// --json: one JSON object per message, read back with a real JSON parser.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <random>
#include <sstream>

#include "cli/JsonWriter.h"
#include "decoder/decoder.h"
#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"
#include "tests/support/WorkedExample.h"

namespace quillmark::cli::test {
namespace {

using nlohmann::json;

std::vector<json> ParseLines(const std::string& text) {
    std::vector<json> records;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        // The parser rejects text that is not valid UTF-8, so this also checks the encoding.
        records.push_back(json::parse(line));
    }
    return records;
}

void ExpectFieldsOf(const json& record, std::string_view text) {
    const DecodedFields fields = DecodeText(text);
    const std::vector<std::pair<const char*, const std::string*>> texts{
        {"CallRegister", &fields[Field::CallRegister]},
        {"MainPM", &fields[Field::MainPM]},
        {"AuxPM", &fields[Field::AuxPM]},
        {"TermType", &fields[Field::TermType]},
        {"OrigType", &fields[Field::OrigType]},
        {"OrigTN", &fields[Field::OrigTN]},
        {"TermTN", &fields[Field::TermTN]},
        {"Queue", &fields[Field::Queue]},
        {"CRLink", &fields[Field::CRLink]},
        {"CRBakLink", &fields[Field::CRBakLink]},
        {"AuxCR", &fields[Field::AuxCR]},
        {"CRDialed", &fields[Field::CRDialed]},
        {"DigitLoad", &fields[Field::DigitLoad]},
        {"DigitUnload", &fields[Field::DigitUnload]},
        {"DigsDialed", &fields[Field::DigsDialed]},
    };
    for (const auto& [key, value] : texts) {
        EXPECT_EQ(record.at(key).get<std::string>(), *value) << key;
    }
    EXPECT_EQ(record.at("PointersDiffer").get<bool>(), fields.PointersDiffer);
    const json& codes = record.at("codes");
    EXPECT_EQ(codes.size(), 5U);
    EXPECT_EQ(codes.at("MainPM").get<std::string>(), fields.Code(Field::MainPM));
    EXPECT_EQ(codes.at("AuxPM").get<std::string>(), fields.Code(Field::AuxPM));
    EXPECT_EQ(codes.at("TermType").get<std::string>(), fields.Code(Field::TermType));
    EXPECT_EQ(codes.at("OrigType").get<std::string>(), fields.Code(Field::OrigType));
    EXPECT_EQ(codes.at("Queue").get<std::string>(), fields.Code(Field::Queue));
}

TEST(Json, WorkedExampleRecord) {
    const std::string text(sample::kWorkedExample);
    const Outcome outcome = RunDecode({"--json"}, text);
    EXPECT_EQ(outcome.status, 0);
    const std::vector<json> records = ParseLines(outcome.out);
    ASSERT_EQ(records.size(), 1U);
    const json& record = records.front();
    EXPECT_EQ(record.at("file"), "-");
    EXPECT_FALSE(record.contains("line"));
    EXPECT_EQ(record.at("CallRegister"), "0008F5B4");
    EXPECT_EQ(record.at("OrigTN"), "Use LD 32 to Convert TN H.0421");
    EXPECT_EQ(record.at("DigitLoad"), "H.00101 (DEC: 5)");
    EXPECT_EQ(record.at("DigitUnload"), "H.11111 (DEC: 31)");
    EXPECT_EQ(record.at("PointersDiffer"), true);
    EXPECT_EQ(record.at("DigsDialed"), "301B");
    EXPECT_EQ(record.at("codes"), (json{{"MainPM", "01"},
                                        {"AuxPM", "02"},
                                        {"TermType", "11010"},
                                        {"OrigType", "01001"},
                                        {"Queue", "0C"}}));
    EXPECT_EQ(record.size(), 18U);  // file, fifteen fields, PointersDiffer, codes
    ExpectFieldsOf(record, text);
}

struct JsonTextCase : support::NamedCase {
    std::string text;
};

const std::vector<JsonTextCase> kAwkwardTexts{
    {"QuotesAndBackslashes", "\"0008\\F5B4\" 00000102"},
    {"ControlCharacters",
     "\x01\x1f\x7f\t 00\x08"
     "0102"},
    {"InvalidBytes", "\xFF\xFE\xFD 0000\xC0\xAF 00\xED\xA0\x80"},
    {"TruncatedCharacterAtTheEnd", "0008F5B4 \xE2\x82"},
    {"NulBytes", std::string("\0\0 \0", 4)},
    {"NonAscii", "St\xC3\xB6rung \xE2\x82\xAC\xF0\x9F\x93\x9E"},
    // Messages with nothing to escape are written without looking at each text; one byte to
    // escape anywhere, in a block of sixteen or in the bytes after the last block, is enough
    // for the texts to be escaped.
    {"PlainDump",
     "0008F5B4 00000102 00001A48 000A0421 000A0422 0000000C 00090010 00090020 00000000"},
    {"QuoteInTheSecondBlock", "0008F5B40000000000\"0 00000102 00001A48 000A0421 000A0422"},
    {"BackslashInTheLastBytes", "0008F5B4 00000102 00001A48 000A0421 000A0422 0000000C 0009001\\"},
    {"LineFeedInTheFirstBlock", "0008F5B4\n00000102 00001A48"},
    {"DeleteAndTilde",
     "0008F5B4 0000\x7f"
     "102 ~~~~ 0000~~~~"},
    {"EveryOtherPrintableCharacter",
     " !#$%&'()*+,-./ 0123456789:;<=>? @ABCDEFGHIJKLMNO PQRSTUVWXYZ[]^_ `abcdefghijklmno "
     "pqrstuvwxyz{|}~"},
};

class JsonText : public testing::TestWithParam<JsonTextCase> {};

TEST_P(JsonText, ValidUtf8JsonWithTheDecodedTexts) {
    const Outcome outcome = RunDecode({"--json"}, GetParam().text);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    const std::vector<json> records = ParseLines(outcome.out);
    ASSERT_EQ(records.size(), 1U);
    ExpectFieldsOf(records.front(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Json, JsonText, testing::ValuesIn(kAwkwardTexts),
                         [](const testing::TestParamInfo<JsonTextCase>& info) {
                             return info.param.name;
                         });

TEST(Json, LinesCarryFileAndLineNumber) {
    const std::string file = ScratchFile("json-lines", "0008F5B4 00000102\r\n\r\n\"q\"");
    const Outcome outcome = RunDecode({"--lines", "--json", file, "-"}, "ABCD\n");
    EXPECT_EQ(outcome.status, 0);
    const std::vector<json> records = ParseLines(outcome.out);
    ASSERT_EQ(records.size(), 4U);
    const std::vector<std::tuple<std::string, int, std::string>> expected{
        {file, 1, "0008F5B4 00000102"}, {file, 2, ""}, {file, 3, "\"q\""}, {"-", 1, "ABCD"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [name, line, text] = expected[i];
        EXPECT_EQ(records[i].at("file"), name);
        EXPECT_EQ(records[i].at("line"), line);
        ExpectFieldsOf(records[i], text);
    }
}

TEST(Json, FileNameThatIsNotUtf8StaysValidJson) {
    const std::string file = ScratchFile("name-\xFF", "0008F5B4");
    const Outcome outcome = RunDecode({"--json", file});
    EXPECT_EQ(outcome.status, 0);
    const std::vector<json> records = ParseLines(outcome.out);
    ASSERT_EQ(records.size(), 1U);
    const std::string name = records.front().at("file");
    EXPECT_EQ(name.substr(name.size() - 8), "name-\xEF\xBF\xBD");
}

// Every byte value below 0x80 and some characters beyond, in words of a dump and in the file
// name: each record is byte for byte what the JSON library writes for it.
TEST(Json, RecordsAreWhatTheLibraryWrites) {
    std::string input;
    for (int byte = 1; byte < 0x80; ++byte) {
        if (byte == '\n') {
            continue;
        }
        input += std::string("000") + static_cast<char>(byte) + "0102 \"\\" +
                 static_cast<char>(byte) + "\xc3\xa9\n";
    }
    input += "\x7f\x1f\xe2\x82\xac \xf0\x9f\x98\x80\\\\ \xff\"\n";
    const std::string file = ScratchFile("json-\"\\\x01\x1f-\xc3\xa9", input);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--lines", "--json", file},
          std::vector<std::string>{"--json", file}}) {
        const Outcome outcome = RunDecode(args);
        EXPECT_EQ(outcome.status, 0);
        std::istringstream lines(outcome.out);
        int count = 0;
        for (std::string line; std::getline(lines, line); ++count) {
            ASSERT_EQ(nlohmann::ordered_json::parse(line).dump(), line);
        }
        EXPECT_EQ(count, args.size() == 3 ? 127 : 1);
    }
}

// Full and short dumps of eight-digit words: a record written from the log reader's layout is
// the record of the same dump decoded from its text, field for field and byte for byte, in
// JSON, in CSV and in the report.
TEST(Json, LogRecordsAreTheRecordsOfTheirDumps) {
    constexpr std::string_view kDigits = "0123456789ABCDEF000AAA";
    std::mt19937 random(20261211);
    std::string lines;
    std::string log;
    for (int k = 0; k < 400; ++k) {
        std::string dump;
        for (int word = 1; word <= k % 30 + 1; ++word) {
            if (word > 1) dump += ' ';
            for (int digit = 0; digit < 8; ++digit) dump += kDigits[random() % kDigits.size()];
        }
        lines += dump + "\n";
        log += "BUG" + std::to_string(k) + " " + dump + "\n";
    }
    const std::string linesFile = ScratchFile("json-dumps", lines);
    const std::string logFile = ScratchFile("json-dumps-log", log);
    // Where a record's fields start: behind the opening, which tells file, line and BUG word.
    const auto json = [](const std::string& record, bool) {
        return record.find("\"CallRegister\"");
    };
    const auto csv = [](const std::string& record, bool logged) {
        std::size_t at = 0;
        for (int comma = logged ? 3 : 2; comma > 0; --comma) at = record.find(',', at) + 1;
        return at;
    };
    const auto report = [](const std::string& record, bool) {
        return record.find("Call Register: ");
    };
    struct Form {
        std::string option;
        std::size_t (*fields)(const std::string&, bool);
        std::string end;  // what ends a record
    };
    for (const Form& form : {Form{"--json", json, "\n"}, Form{"--csv", csv, "\r\n"},
                             Form{"", report, "Digits Dialed: "}}) {
        std::vector<std::string> textArgs{"--lines", linesFile}, logArgs{"--log", logFile};
        if (!form.option.empty()) textArgs.insert(textArgs.begin(), form.option);
        if (!form.option.empty()) logArgs.insert(logArgs.begin(), form.option);
        const Outcome fromText = RunDecode(textArgs);
        const Outcome fromLog = RunDecode(logArgs);
        ASSERT_EQ(fromText.status, 0);
        ASSERT_EQ(fromLog.status, 0);
        // Records cut at the end of each; a CSV header row opens both.
        const auto records = [&form](const std::string& out) {
            std::vector<std::string> cut;
            for (std::size_t at = 0, end; (end = out.find(form.end, at)) != std::string::npos;
                 at = end) {
                end = out.find('\n', end + form.end.size() - 1) + 1;
                cut.push_back(out.substr(at, end - at));
            }
            return cut;
        };
        const std::vector<std::string> text = records(fromText.out);
        const std::vector<std::string> logged = records(fromLog.out);
        const std::size_t header = form.option == "--csv" ? 1 : 0;
        ASSERT_EQ(text.size(), 400 + header) << form.option;
        ASSERT_EQ(logged.size(), 400 + header) << form.option;
        for (std::size_t k = header; k < text.size(); ++k) {
            std::string_view a(text[k]), b(logged[k]);
            a.remove_prefix(form.fields(text[k], false));
            b.remove_prefix(form.fields(logged[k], true));
            ASSERT_EQ(b, a) << form.option << " record " << k;
        }
    }
}

TEST(Json, ManyLinesNumberedInOrder) {
    std::string input;
    for (int k = 1; k <= 5000; ++k) {
        input += std::to_string(k) + (k % 3 == 0 ? "\r\n" : "\n");
    }
    const std::string file = ScratchFile("json-many", input);
    const Outcome outcome = RunDecode({"--lines", "--json", file, "-"}, input);
    EXPECT_EQ(outcome.status, 0);
    const std::vector<json> records = ParseLines(outcome.out);
    ASSERT_EQ(records.size(), 10000U);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const int line = static_cast<int>(i % 5000) + 1;
        ASSERT_EQ(records[i].at("file"), i < 5000 ? file : "-") << i;
        ASSERT_EQ(records[i].at("line"), line) << i;
        ASSERT_EQ(records[i].at("CallRegister"), std::to_string(line)) << i;
    }
}

}  // namespace
}  // namespace quillmark::cli::test

namespace quillmark::cli {
namespace {

// The record writer escapes texts itself; it must write them byte for byte as the JSON library.
struct JsonStringCase : support::NamedCase {
    std::string text;
};

class JsonString : public testing::TestWithParam<JsonStringCase> {};

TEST_P(JsonString, WrittenAsTheJsonLibraryWritesIt) {
    std::string written = "x";
    AppendJsonString(written, GetParam().text);
    EXPECT_EQ(written, "x" + nlohmann::json(GetParam().text)
                                 .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

INSTANTIATE_TEST_SUITE_P(
    JsonWriter, JsonString,
    testing::Values(JsonStringCase{"Empty", ""}, JsonStringCase{"Plain", "0008F5B4"},
                    JsonStringCase{"QuoteAndBackslash", "a\"b\\c\"\\"},
                    JsonStringCase{"NamedControls", "\b\f\n\r\t"},
                    JsonStringCase{"OtherControlsAndDelete",
                                   std::string("\x00\x01\x1b\x1f\x7f", 5)},
                    JsonStringCase{"NonAscii", "St\xC3\xB6rung \xE2\x82\xAC \xF0\x9F\x98\x80"},
                    JsonStringCase{"Replacement", "\xEF\xBF\xBD"},
                    JsonStringCase{"BrokenBytes",
                                   "a\xFF\xFE"
                                   "b\xE2\x82"},
                    JsonStringCase{"BrokenAfterEscape", "\"\xC3"}),
    [](const testing::TestParamInfo<JsonStringCase>& info) { return info.param.name; });

}  // namespace
}  // namespace quillmark::cli
