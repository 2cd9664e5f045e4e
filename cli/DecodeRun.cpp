// SPDX-License-Identifier: MIT
#include "cli/DecodeRun.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/InputFile.h"
#include "cli/LinePipeline.h"
#include "cli/MessageCutter.h"
#include "cli/MessageDecoder.h"
#include "cli/OutputSink.h"

namespace quillmark::cli {
namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

class DecodeRun {
public:
    DecodeRun(const DecodeOptions& options, int outputFd)
        : options_(options), out_(outputFd), cutter_(options.skip),
          block_(std::make_unique<char[]>(kReadBlock)) {
        if (options.lines) {
            lines_.emplace(options, out_);
        } else {
            decoder_.emplace(options.json, false);
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
        cutter_.Restart();
        message_.clear();
        for (;;) {
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                return ReportInputError(name, input.Error());
            }
            if (count == 0 || !cutter_.Take({block_.get(), static_cast<std::size_t>(count)}, message_)) {
                break;
            }
        }
        cutter_.Finish(message_);
        decoder_->Append(out_.Buffer(), message_, {name, std::nullopt}, messagesWritten_++ == 0);
        return out_.Commit();
    }

    // Every line is a message; a line's text after its word 30 is passed over unread.
    bool DecodeLines(InputFile& input, const std::string& name) {
        lines_->StartInput(name);
        bool lineOpen = false;  // bytes of an unfinished line were seen
        bool wanted = true;     // the current line's words are not complete yet
        cutter_.Restart();
        for (;;) {
            // Lines that arrive slowly (`tail -f log | quillmark-decode --lines`) are shown
            // as soon as no more input is waiting, not when a block is full.
            if (input.WouldWait() && !lines_->Publish()) {
                return false;
            }
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                // The unfinished line is not decoded: its record would be wrong.
                lines_->DropOpenLine();
                const bool open = lines_->Drain();
                return ReportInputError(name, input.Error()) && open;
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
                    wanted = cutter_.Take({at, static_cast<std::size_t>(textEnd - at)}, lines_->LineText());
                }
                lineOpen = lineOpen || textEnd > at;
                if (lineFeed == nullptr) {
                    break;
                }
                cutter_.Finish(lines_->LineText());
                if (!lines_->EndLine()) {
                    return false;
                }
                cutter_.Restart();
                wanted = true;
                lineOpen = false;
                at = lineFeed + 1;
            }
        }
        if (lineOpen) {
            cutter_.Finish(lines_->LineText());
            if (!lines_->EndLine()) {
                return false;
            }
        }
        return lines_->Drain();
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
    MessageCutter cutter_;
    std::unique_ptr<char[]> block_;
    std::string message_;                   // default mode: the text decoding needs
    std::optional<MessageDecoder> decoder_;  // default mode
    std::optional<LinePipeline> lines_;      // --lines
    std::uint64_t messagesWritten_ = 0;
    int status_ = 0;
};

}  // namespace

int RunDecode(const DecodeOptions& options, int outputFd) {
    return DecodeRun(options, outputFd).Run();
}

}  // namespace quillmark::cli
