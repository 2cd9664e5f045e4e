#include "cli/DecodeRun.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/InputFile.h"
#include "cli/MessageFeeder.h"
#include "cli/OutputSink.h"
#include "cli/RecordFormat.h"
#include "decoder/decoder.h"

namespace quillmark::cli {
namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

class DecodeRun {
public:
    DecodeRun(const DecodeOptions& options, int outputFd)
        : options_(options), out_(outputFd), feeder_(words_, options.skip),
          block_(std::make_unique<char[]>(kReadBlock)) {
        if (options.json) {
            json_.emplace(options.lines);
        }
    }

    int Run() {
        static const std::vector<std::string> kStandardInput{"-"};
        const auto& names = options_.files.empty() ? kStandardInput : options_.files;
        for (const std::string& name : names) {
            if (!Decode(name)) {
                break;
            }
        }
        out_.Flush();
        if (out_.state() == OutputSink::State::Failed) {
            std::cerr << kProgramName << ": write error: " << std::strerror(out_.Error()) << '\n';
            return 1;
        }
        return status_;
    }

private:
    // False once the output is gone and nothing more can be written.
    bool Decode(const std::string& name) {
        InputFile input(name);
        if (!input.IsOpen()) {
            return ReportInputError(name, input.Error());
        }
        return options_.lines ? DecodeLines(input, name) : DecodeMessage(input, name);
    }

    // The whole input is one message, read only as far as its words reach.
    bool DecodeMessage(InputFile& input, const std::string& name) {
        feeder_.Restart();
        for (;;) {
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                return ReportInputError(name, input.Error());
            }
            if (count == 0 || !feeder_.Feed({block_.get(), static_cast<std::size_t>(count)})) {
                break;
            }
        }
        feeder_.Finish();
        return Emit({name, std::nullopt});
    }

    // Every line is a message; a line's text after its word 30 is passed over unread.
    bool DecodeLines(InputFile& input, const std::string& name) {
        std::uint64_t line = 0;
        bool lineOpen = false;  // bytes of an unfinished line were seen
        bool wanted = true;     // the current line's words are not complete yet
        feeder_.Restart();
        for (;;) {
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                // The unfinished line is not decoded: its record would be wrong.
                return ReportInputError(name, input.Error());
            }
            if (count == 0) {
                break;
            }
            const char* at = block_.get();
            const char* const end = at + count;
            while (at < end) {
                const auto* lineFeed =
                    static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
                const char* const textEnd = lineFeed != nullptr ? lineFeed : end;
                if (wanted && textEnd > at) {
                    wanted = feeder_.Feed({at, static_cast<std::size_t>(textEnd - at)});
                }
                lineOpen = lineOpen || textEnd > at;
                if (lineFeed == nullptr) {
                    break;
                }
                feeder_.Finish();
                if (!Emit({name, ++line})) {
                    return false;
                }
                feeder_.Restart();
                wanted = true;
                lineOpen = false;
                at = lineFeed + 1;
            }
        }
        if (lineOpen) {
            feeder_.Finish();
            return Emit({name, ++line});
        }
        return true;
    }

    bool Emit(const MessageOrigin& origin) {
        const DecodedFields fields = DecodeCallRegister(words_);
        std::string& text = out_.Buffer();
        if (json_) {
            json_->Append(text, fields, origin);
        } else {
            if (reportsWritten_ > 0) {
                text += '\n';
            }
            AppendTextReport(text, fields);
        }
        ++reportsWritten_;
        return out_.Commit();
    }

    bool ReportInputError(const std::string& name, int error) {
        // What was decoded before the error comes first, in the order a reader expects.
        const bool open = out_.Flush();
        std::cerr << kProgramName << ": " << name << ": " << std::strerror(error) << '\n';
        status_ = 1;
        return open;
    }

    const DecodeOptions& options_;
    OutputSink out_;
    DataWords words_;
    MessageFeeder feeder_;
    std::optional<JsonRecords> json_;
    std::unique_ptr<char[]> block_;
    std::uint64_t reportsWritten_ = 0;
    int status_ = 0;
};

}  // namespace

int RunDecode(const DecodeOptions& options, int outputFd) {
    return DecodeRun(options, outputFd).Run();
}

}  // namespace quillmark::cli
