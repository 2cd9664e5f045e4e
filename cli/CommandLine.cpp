// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <limits>
#include <string>
#include <string_view>

#include "cli/OutputSink.h"
#include "quillmark/version.h"

namespace quillmark::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark-decode [--lines|--log] [--json|--csv] [--explain] [--summary]\n"
    "                        [--skip N] [FILE...]\n"
    "       quillmark-decode --tables [--json]";
constexpr std::string_view kDescription =
    "Decodes the call register dump of a BUG message field by field, exactly as the Quillmark "
    "window's \"DeBug\" button does, and writes its report: one line per field.";
constexpr std::size_t kColumns = 80;

// One row per entry of the help's lists: what the user types, and what it does.
struct HelpRow {
    std::string_view term;
    std::string_view text;
};

constexpr HelpRow kLinesHelp{"--lines",
                             "Decode every line as a message of its own, empty lines included"};
constexpr HelpRow kLogHelp{"--log",
                           "Read each input as a console log: decode every BUG message in it, "
                           "its dump wrapped over as many lines as it takes, each headed by "
                           "its input, line and BUG word"};
constexpr HelpRow kJsonHelp{"--json", "Write one JSON object per message on one line (JSON Lines)"};
constexpr HelpRow kCsvHelp{"--csv",
                           "Write a CSV file: a header row of the JSON keys, then one row per "
                           "message (RFC 4180, UTF-8)"};
constexpr HelpRow kSummaryHelp{"--summary",
                               "With --log: instead of the records, count the messages, short "
                               "dumps, notes and skipped lines, and how many messages have each "
                               "Main PM, AUX PM, Orig Type, Term Type and Queue name"};
constexpr HelpRow kTablesHelp{"--tables",
                              "Print every name table, code and name (AUX PM under its Main PM), "
                              "and exit"};
constexpr HelpRow kExplainHelp{"--explain",
                               "Also tell, for every field, the word and the characters it was cut "
                               "from: indented lines below its report line, or a \"sources\" "
                               "object in JSON"};
constexpr HelpRow kSkipHelp{"--skip N",
                            "Drop N leading words before decoding, as N presses of "
                            "\"Trim Text\" would"};
constexpr HelpRow kFileHelp{"FILE", "Inputs decoded in turn; - or none means standard input"};
constexpr std::array<HelpRow, 11> kOptionsHelp{{
    kLinesHelp,
    kLogHelp,
    kJsonHelp,
    kCsvHelp,
    kExplainHelp,
    kSummaryHelp,
    kTablesHelp,
    kSkipHelp,
    {"-h, --help", "Print this help and exit"},
    {"--version", "Print the version and exit"},
    kFileHelp,
}};
constexpr std::array<HelpRow, 3> kExitStatusHelp{{
    {"0",
     "Every input was decoded whole (a log without a BUG message too: standard error says "
     "so)."},
    {"1",
     "An input could not be read, a message was longer than the window's input box "
     "holds and was cut, memory ran out, or the output could not be written."},
    {"2", "The command line was wrong."},
}};

// The text in lines of at most kColumns, the first after `indent` columns already used and the
// others indented by as much.
std::string Wrapped(std::string_view text, std::size_t indent) {
    std::string out;
    std::size_t column = indent;
    while (!text.empty()) {
        const std::size_t wordEnd = std::min(text.find(' '), text.size());
        const std::string_view word = text.substr(0, wordEnd);
        if (column > indent && column + 1 + word.size() > kColumns) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
        } else if (column > indent) {
            out += ' ';
            ++column;
        }
        out += word;
        column += word.size();
        text.remove_prefix(std::min(wordEnd + 1, text.size()));
    }
    return out;
}

template <std::size_t N>
std::string Listed(const std::array<HelpRow, N>& rows) {
    std::size_t width = 0;
    for (const HelpRow& row : rows) {
        width = std::max(width, row.term.size());
    }
    const std::size_t indent = 2 + width + 2;
    std::string out;
    for (const HelpRow& row : rows) {
        out += "  ";
        out += row.term;
        out.append(indent - 2 - row.term.size(), ' ');
        out += Wrapped(row.text, indent);
        out += '\n';
    }
    return out;
}

std::string HelpText() {
    return std::string(kUsage) + "\n" + Wrapped(kDescription, 0) + "\n\nOptions:\n" +
           Listed(kOptionsHelp) + "\nExit status:\n" + Listed(kExitStatusHelp);
}

// N is a plain decimal count: no sign, no spaces, no base prefix, and it must fit.
enum class CountError { None, NotACount, TooLarge };

CountError CheckCount(const std::string& text, std::uint64_t* value = nullptr) {
    std::uint64_t parsed = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return CountError::NotACount;
    }
    const auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (error == std::errc::result_out_of_range) {
        return CountError::TooLarge;
    }
    if (error != std::errc{} || stop != end) {
        return CountError::NotACount;
    }
    if (value != nullptr) {
        *value = parsed;
    }
    return CountError::None;
}

const CLI::Validator kWordCount(
    [](std::string& text) -> std::string {
        switch (CheckCount(text)) {
            case CountError::None: return {};
            case CountError::TooLarge:
                return "N is too large, at most " +
                       std::to_string(std::numeric_limits<std::uint64_t>::max()) + ": " + text;
            case CountError::NotACount: break;
        }
        return "N must be a whole number of words, 0 or more: " + text;
    },
    "");

// The help and version texts go out as the records do, so that a console shows them in UTF-16.
int WriteOrFail(const std::string& text) {
    OutputSink out(sysio::kStandardOutput);
    if (out.Append(text) && out.Flush()) {
        return 0;
    }
    std::cerr << kProgramName << ": write error\n";
    return 1;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    DecodeOptions options;
    std::string skipText = "0";
    bool showVersion = false;

    CLI::App app{std::string(kDescription), kProgramName};
    // "/x" is a file name on every system, never an option, whatever CLI11 does on Windows.
    app.allow_windows_style_options(false);
    const auto flag = [&app](const HelpRow& row, bool& value) {
        return app.add_flag(std::string(row.term), value, std::string(row.text))
            ->disable_flag_override();
    };
    CLI::Option* const lines = flag(kLinesHelp, options.lines);
    CLI::Option* const log = flag(kLogHelp, options.log);
    CLI::Option* const json = flag(kJsonHelp, options.json);
    CLI::Option* const csv = flag(kCsvHelp, options.csv);
    CLI::Option* const explain = flag(kExplainHelp, options.explain);
    CLI::Option* const summary = flag(kSummaryHelp, options.summary);
    CLI::Option* const tables = flag(kTablesHelp, options.tables);
    CLI::Option* const skip = app.add_option("--skip", skipText, std::string(kSkipHelp.text))
                                  ->type_name("N")
                                  ->check(kWordCount);
    app.add_flag("--version", showVersion, "Print the version and exit")->disable_flag_override();
    CLI::Option* const files =
        app.add_option("FILE", options.files, std::string(kFileHelp.text))->type_name("");
    // Forms that cannot be written together, and options that mean nothing together.
    lines->excludes(log);
    json->excludes(csv);
    csv->excludes(explain);
    summary->needs(log)->excludes(csv)->excludes(explain);
    log->excludes(skip);
    tables->excludes(lines)->excludes(log)->excludes(csv)->excludes(explain)->excludes(skip);
    tables->excludes(files);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, WriteOrFail(HelpText())};
    } catch (const CLI::ParseError& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n'
                  << kUsage << '\n'
                  << "Try 'quillmark-decode --help' for more information.\n";
        return {std::nullopt, 2};
    }
    if (showVersion) {
        return {std::nullopt, WriteOrFail(std::string(kProgramName) + " " + version::kString +
                                          "\n" + version::kCopyrightNotice)};
    }
    CheckCount(skipText, &options.skip);
    return {std::move(options), 0};
}

}  // namespace quillmark::cli
