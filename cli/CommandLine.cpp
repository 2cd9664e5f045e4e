// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>

#include "quillmark/version.h"

namespace quillmark::cli {
namespace {

constexpr const char* kUsage = "Usage: quillmark-decode [--lines] [--json] [--skip N] [FILE...]";

// N is a plain decimal count: no sign, no spaces, no base prefix, and it must fit.
std::optional<std::uint64_t> ParseCount(const std::string& text) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

const CLI::Validator kWordCount(
    [](std::string& text) -> std::string {
        return ParseCount(text) ? std::string{} : "N must be a whole number of words, 0 or more: " + text;
    },
    "");

int WriteOrFail(const std::string& text) {
    std::cout << text << std::flush;
    if (std::cout) {
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

    CLI::App app{"Decodes the call register dump of a BUG message field by field, exactly as the "
                 "Quillmark window's \"DeBug\" button does, and writes the fifteen report lines.",
                 kProgramName};
    app.add_flag("--lines", options.lines,
                 "Decode every line as a message of its own, empty lines included")
        ->disable_flag_override();
    app.add_flag("--json", options.json,
                 "Write one JSON object per message on one line (JSON Lines)")
        ->disable_flag_override();
    app.add_option("--skip", skipText,
                   "Drop N leading words before decoding, as N presses of \"Trim Text\" would")
        ->type_name("N")
        ->check(kWordCount);
    app.add_flag("--version", showVersion, "Print the version and exit")->disable_flag_override();
    app.add_option("FILE", options.files, "Inputs decoded in turn; - or none means standard input")
        ->type_name("");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        return {std::nullopt, WriteOrFail(app.help())};
    } catch (const CLI::ParseError& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n'
                  << kUsage << '\n'
                  << "Try 'quillmark-decode --help' for more information.\n";
        return {std::nullopt, 2};
    }
    if (showVersion) {
        return {std::nullopt,
                WriteOrFail(std::string(kProgramName) + " " + version::kString + "\n")};
    }
    options.skip = *ParseCount(skipText);
    return {std::move(options), 0};
}

}  // namespace quillmark::cli
