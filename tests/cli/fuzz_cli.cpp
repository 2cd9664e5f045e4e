// SPDX-License-Identifier: MIT
// Fuzz target: any bytes through a whole quillmark-decode run in memory: the message cutter,
// the line splitter and pipeline, and --skip, with the input arriving in pieces of random size.
//
// Each record must equal the window's report of the same text as the window would hold it:
// trimmed by "Trim Text" as often as --skip says, then cut after as many characters (UTF-16
// units) as the input box holds. The input box is made small here so that cuts are common.
// Every cut must be told on the diagnostics stream with its input and line.
//
// The first three bytes choose the run: byte 0 the mode (bit 0 --lines, bits 1-2 the words to
// skip, bit 3 two inputs instead of one, bit 4 --json, whose records must equal what the JSON
// library writes for the same texts), byte 1 the input box's size (1 to 64 characters, or
// the real one for 255), byte 2 the seed of the piece sizes. The rest is the text.

#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/DecodeRun.h"
#include "cli/InputFile.h"
#include "decoder/decoder.h"
#include "decoder/field_catalogue.h"
#include "decoder/utf8.h"
#include "tests/cli/ExpectedOutput.h"
#include "tests/support/FuzzCheck.h"

namespace {

using namespace quillmark;

using support::Require;

// A small generator for piece sizes and waits, fixed by the input's seed byte.
class Pieces {
public:
    explicit Pieces(std::uint32_t seed) : state_(seed * 2654435761U + 1) {}
    std::uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    std::uint32_t state_;
};

// An input held in memory that hands out pieces of random size and now and then says that a
// read would wait, as a slow pipe does.
class MemoryInput final : public cli::InputSource {
public:
    MemoryInput(std::string_view text, Pieces& pieces) : text_(text), pieces_(pieces) {}
    bool IsOpen() const override { return true; }
    long Read(char* buffer, std::size_t capacity) override {
        const std::uint32_t roll = pieces_.Next();
        std::size_t size = (roll & 0x100) != 0 ? 1 + roll % 17 : 1 + roll % 300;
        size = std::min({size, capacity, text_.size()});
        std::copy_n(text_.data(), size, buffer);
        text_.remove_prefix(size);
        return static_cast<long>(size);
    }
    bool WouldWait() const override { return (pieces_.Next() & 3) == 0; }
    int Error() const override { return 0; }

private:
    std::string_view text_;
    Pieces& pieces_;
};

// ---- What the window would show ----------------------------------------------------------

struct Held {
    std::string text;  // what decoding reads
    bool cut = false;
    std::size_t cutAt = 0;  // byte position of the cut in the trimmed text
};

// The text as the input box holds it: at most `limit` UTF-16 units, unless word 30 ends first.
Held AsTheBoxHoldsIt(const std::string& text, std::size_t limit) {
    const std::size_t held = cli::test::HeldBytes(text, limit);
    std::size_t space = 0;
    for (int spaces = 0; spaces < kLastWord && space != std::string::npos; ++spaces)
        space = text.find(' ', spaces == 0 ? 0 : space + 1);
    if (space != std::string::npos && space < held) return {text.substr(0, space + 1), false, 0};
    return {text.substr(0, held), held < text.size(), held};
}

// The JSON record as the JSON library writes it.
std::string JsonRecord(std::string_view text, const std::string& file,
                       std::optional<std::uint64_t> line) {
    const DecodedFields f = DecodeText(text);
    nlohmann::ordered_json record;
    record["file"] = file;
    if (line) record["line"] = *line;
    for (const FieldRow& row : kFields) record[std::string(row.key)] = f[row.field];
    record["PointersDiffer"] = f.PointersDiffer;
    record["codes"] = {{"MainPM", f.Code(Field::MainPM)},
                       {"AuxPM", f.Code(Field::AuxPM)},
                       {"TermType", f.Code(Field::TermType)},
                       {"OrigType", f.Code(Field::OrigType)},
                       {"Queue", f.Code(Field::Queue)}};
    return record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

struct Expected {
    std::vector<std::string> records;
    std::string err;
};

// The message after `presses` presses of "Trim Text", as raw bytes: TrimFirstWord gives the
// same text with broken UTF-8 already replaced, which changes byte positions, not characters.
std::string_view TrimmedBytes(std::string_view message, std::uint64_t presses) {
    for (; presses > 0; --presses) {
        const std::size_t space = message.find(' ');
        if (space == std::string_view::npos) break;
        message.remove_prefix(space + 1);
    }
    return message;
}

// One message of input `file` whose text starts on line `line` of it.
void ExpectMessage(Expected& expected, const cli::DecodeOptions& options, const std::string& file,
                   std::uint64_t line, const std::string& message, std::size_t limit) {
    const std::uint64_t skip = options.skip;
    const std::string_view trimmed = TrimmedBytes(message, skip);
    Require(utf8::Sanitized(trimmed) == utf8::Sanitized(cli::test::Trimmed(message, skip)),
            "trimmed as by Trim Text");
    const Held held = AsTheBoxHoldsIt(std::string(trimmed), limit);
    if (held.cut) {
        const std::size_t cutInMessage = message.size() - trimmed.size() + held.cutAt;
        std::uint64_t cutLine = line;
        for (std::size_t i = 0; i < cutInMessage; ++i) cutLine += message[i] == '\n' ? 1 : 0;
        expected.err += cli::test::CutMessage(file, cutLine, limit);
    }
    expected.records.push_back(
        options.json
            ? JsonRecord(held.text, file, options.lines ? std::optional(line) : std::nullopt)
            : cli::test::WindowReport(held.text));
}

std::string ReadBack(int fd) {
    std::string text(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
    Require(::pread(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()),
            "read back");
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    cli::DecodeOptions options;
    options.lines = (data[0] & 1) != 0;
    options.skip = (data[0] >> 1) & 3;
    options.json = (data[0] & 16) != 0;
    const bool twoInputs = (data[0] & 8) != 0;
    const std::size_t limit = data[1] == 255 ? cli::kInputBoxCharacters : 1 + data[1] % 64;
    Pieces pieces(data[2]);
    const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

    std::vector<std::pair<std::string, std::string>> inputs;  // name, text
    if (twoInputs) {
        inputs = {{"a", text.substr(0, text.size() / 2)}, {"b", text.substr(text.size() / 2)}};
    } else {
        inputs = {{"a", text}};
    }
    for (const auto& input : inputs) options.files.push_back(input.first);

    // What the window would show, record by record.
    Expected expected;
    for (const auto& [name, content] : inputs) {
        if (!options.lines) {
            ExpectMessage(expected, options, name, 1, content, limit);
            continue;
        }
        std::uint64_t line = 1;
        std::size_t begin = 0;
        while (begin < content.size()) {
            const std::size_t end = std::min(content.find('\n', begin), content.size());
            ExpectMessage(expected, options, name, line++, content.substr(begin, end - begin),
                          limit);
            begin = end + 1;
        }
    }
    // Reports are separated by an empty line; JSON records follow each other.
    std::string wanted;
    for (const std::string& record : expected.records) {
        if (!wanted.empty() && !options.json) wanted += '\n';
        wanted += record;
    }

    const int fd = ::memfd_create("quillmark-fuzz-out", MFD_CLOEXEC);
    Require(fd >= 0, "memfd");
    std::ostringstream diagnostics;
    cli::RunSetup setup{fd,
                        diagnostics,
                        [&](const std::string& name) -> std::unique_ptr<cli::InputSource> {
                            for (const auto& input : inputs)
                                if (input.first == name)
                                    return std::make_unique<MemoryInput>(input.second, pieces);
                            return nullptr;
                        },
                        {},
                        limit};
    const int status = cli::RunDecode(options, setup);
    const std::string out = ReadBack(fd);
    ::close(fd);

    Require(out == wanted, "records equal the window's reports of the held text");
    Require(diagnostics.str() == expected.err, "every cut told with its input and line");
    Require(status == (expected.err.empty() ? 0 : 1), "exit status");
    return 0;
}
