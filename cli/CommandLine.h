// SPDX-License-Identifier: MIT
#pragma once
// The command line of quillmark-decode:
//   [--lines|--log] [--json|--csv] [--explain] [--summary] [--skip N] [FILE...]
//   --tables [--json]

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillmark::cli {

inline constexpr const char* kProgramName = "quillmark-decode";

struct DecodeOptions {
    bool lines = false;              // every line is a message of its own
    bool log = false;                // the input is a console log: every BUG message in it
    bool json = false;               // one JSON object per message instead of the report
    bool csv = false;                // one CSV row per message, after a header row
    bool summary = false;            // --log: counts over the whole run instead of the records
    bool tables = false;             // every name table instead of decoding
    bool explain = false;            // each field also says which word and characters it came from
    std::uint64_t skip = 0;          // leading words dropped as by that many presses of "Trim Text"
    std::vector<std::string> files;  // empty: standard input; "-" also means standard input
};

// Either the options to decode with, or the exit status to end with at once: 0 after --help or
// --version, 2 after a usage error, 1 when the help or version text could not be written.
// Help and version go to standard output, usage errors to standard error.
struct CommandLine {
    std::optional<DecodeOptions> options;
    int exitStatus = 0;
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace quillmark::cli
