// SPDX-License-Identifier: MIT
#include "cli/DecodeRun.h"

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/Diagnostics.h"
#include "cli/LinePipeline.h"
#include "cli/LineSplitter.h"
#include "cli/LogSummary.h"
#include "cli/MessageCutter.h"
#include "cli/MessageDecoder.h"
#include "cli/NameTables.h"
#include "cli/OutputSink.h"
#include "cli/StringStorage.h"
#include "cli/SystemIo.h"
#include "decoder/byte_scan.h"
#include "decoder/log_reader.h"
#include "decoder/record_view.h"

namespace quillmark::cli {
namespace {

constexpr std::size_t kReadBlock = 64 * 1024;
// A log is handed to the workers in pieces of about this many bytes.
constexpr std::size_t kLogChunk = 64 * 1024;

// --summary: counts the names of each record decoded, and writes nothing.
class NameCounter final : public RecordWriter {
public:
    void Append(std::string&, const RecordView& record, const Explanation*,
                const MessageOrigin& origin) override {
        // A message the reader on the main thread found is counted there.
        if (origin.message != nullptr) counts_.AddMessage(*origin.message);
        counts_.AddNames(record);
    }
    std::string_view Separator() const override { return {}; }
    const LogSummary& Counts() const { return counts_; }

private:
    LogSummary counts_;
};

class DecodeRun {
public:
    DecodeRun(const DecodeOptions& options, const RunSetup& setup)
        : options_(options),
          setup_(setup),
          out_(setup.outputFd),
          diagnostics_(out_, setup.diagnostics),
          cutter_(options.skip, setup.characterLimit),
          block_(std::make_unique<char[]>(kReadBlock)),
          writers_(setup.writers ? setup.writers : ChooseRecordWriter(options)) {
        if (options.tables) {
            return;
        }
        if (options.summary) {
            // The messages of a log are decoded and their names counted on worker threads,
            // each into a summary of its own, merged at the end.
            summary_.emplace();
            lines_.emplace(
                [this] {
                    auto counter = std::make_unique<NameCounter>();
                    counters_.push_back(counter.get());
                    return counter;
                },
                out_, diagnostics_, setup.characterLimit);
        } else if (options.lines || options.log) {
            // Lines and the messages of a log are decoded on worker threads.
            lines_.emplace(writers_, out_, diagnostics_, setup.characterLimit);
            if (!options.log) splitter_.emplace(cutter_, *lines_);
        } else {
            decoder_.emplace(writers_());
        }
        if (options.log) {
            reader_.emplace([this](const LogMessage& message) { TakeMessage(message); },
                            setup.characterLimit);
        }
    }

    int Run() {
        if (options_.tables) {
            out_.Append(options_.json ? NameTablesJson() : NameTablesText());
            return Finish();
        }
        if (!options_.summary) {
            out_.Append(writers_()->Header());
        }
        static const std::vector<std::string> kStandardInput{"-"};
        const auto& names = options_.files.empty() ? kStandardInput : options_.files;
        for (auto name = names.begin(); name != names.end(); ++name) {
            // Standard input named again later is read to its end each time, as cat reads it,
            // so that the next read never starts in the middle of this message.
            const bool readToEnd =
                *name == "-" && std::find(name + 1, names.end(), "-") != names.end();
            if (!Decode(*name, readToEnd)) {
                break;
            }
        }
        if (summary_ && Open()) {
            for (const NameCounter* counter : counters_) summary_->Merge(counter->Counts());
            out_.Append(options_.json ? summary_->Json() : summary_->Text());
        }
        return Finish();
    }

private:
    int Finish() {
        out_.Flush();
        if (out_.state() == OutputSink::State::Failed) {
            setup_.diagnostics << kProgramName
                               << ": write error: " << sysio::ErrorText(out_.Error()) << '\n'
                               << std::flush;
            return 1;
        }
        return diagnostics_.AnyReported() ? 1 : 0;
    }

    // False once the output is gone and nothing more can be written.
    bool Decode(const std::string& name, bool readToEnd) {
        try {
            const std::unique_ptr<InputSource> input = setup_.open(name);
            if (!input->IsOpen()) {
                diagnostics_.InputError(name, input->Error());
                return Open();
            }
            if (options_.log) {
                return DecodeLog(*input, name);
            }
            return options_.lines ? DecodeLines(*input, name)
                                  : DecodeMessage(*input, name, readToEnd);
        } catch (const std::bad_alloc&) {
            return OutOfMemory(name);
        }
    }

    bool Open() const { return out_.state() == OutputSink::State::Open; }

    // The whole input is one message, read only as far as its words reach.
    bool DecodeMessage(InputSource& input, const std::string& name, bool readToEnd) {
        recordStart_ = out_.Buffer().size();
        cutter_.Restart();
        message_.clear();
        bool wanted = true;
        for (;;) {
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                diagnostics_.InputError(name, input.Error());
                return Open();
            }
            if (count == 0) {
                break;
            }
            if (wanted) {
                wanted = cutter_.Take({block_.get(), static_cast<std::size_t>(count)}, message_);
            }
            if (!wanted && !readToEnd) {
                break;
            }
        }
        cutter_.Finish(message_);
        if (cutter_.WasCut()) {
            diagnostics_.MessageCut(name, 1 + cutter_.LineFeedsBeforeCut(),
                                    cutter_.CharacterLimit());
        }
        std::string& out = out_.Buffer();
        if (messagesWritten_ > 0) {
            out += decoder_->Separator();
        }
        decoder_->Append(out, message_, {name, std::nullopt, {}});
        ++messagesWritten_;
        ClearKeepingSmallStorage(message_);
        return out_.Commit();
    }

    // Every BUG message of the log is a message, as the reader finds them. The log is read in
    // pieces cut at lines that end any dump (LastLogCut), each read, decoded and written by a
    // worker; where no such line comes in a piece's length, and once the input comes slowly,
    // the reader here reads on until one comes.
    bool DecodeLog(InputSource& input, const std::string& name) {
        logName_ = &name;
        reader_->Restart();
        if (lines_) lines_->StartInput(name);
        linesBefore_ = 0;
        serialCounts_ = {};
        slow_ = false;
        chunked_ = false;
        if (!StartChunks()) return StopLog();
        for (;;) {
            // A log that grows slowly (`tail -f`) shows each message once it has ended.
            if (input.WouldWait()) {
                slow_ = true;
                if ((chunked_ && !ReadChunkHere()) || !Publish()) return StopLog();
            }
            if (chunked_) {
                ReadBuffer& text = lines_->ChunkText();
                const long count = input.Read(text.Room(kReadBlock), kReadBlock);
                text.Grow(static_cast<std::size_t>(std::max(count, 0L)));
                if (count < 0) {
                    // The open message is not decoded: its dump may go on in what was not read.
                    lines_->EndChunk(text.size(), linesBefore_, false);
                    lines_->Drain();
                    diagnostics_.InputError(name, input.Error());
                    return Open();
                }
                if (count == 0) break;
                if (text.size() >= kLogChunk && !EndChunk()) return StopLog();
                continue;
            }
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                // The open message is not decoded: its dump may go on in what was not read.
                reader_->Restart();
                if (lines_) lines_->Drain();
                diagnostics_.InputError(name, input.Error());
                return Open();
            }
            if (count == 0) {
                break;
            }
            if (!FeedHere({block_.get(), static_cast<std::size_t>(count)})) return StopLog();
        }
        if (chunked_) {
            if (!lines_->EndChunk(lines_->ChunkText().size(), linesBefore_, true)) {
                return StopLog();
            }
        } else {
            reader_->Finish();
        }
        if (lines_ && (!logGoes_ || !lines_->Drain())) {
            return StopLog();
        }
        const std::uint64_t messages = serialCounts_.messages + reader_->Counts().messages +
                                       (lines_ ? lines_->ChunkCounts().messages : 0);
        if (summary_) {
            summary_->AddSkippedLines(serialCounts_.skippedLines + reader_->Counts().skippedLines +
                                      lines_->ChunkCounts().skippedLines);
        }
        if (messages == 0) {
            diagnostics_.NoBugMessage(name);
        }
        return out_.Commit();
    }

    bool StartChunks() {
        chunked_ = true;
        return lines_->StartChunks();
    }

    // Hands the log read so far, up to its last line that ends any dump, to a worker; without
    // such a line the reader here reads it.
    bool EndChunk() {
        const std::string_view text = lines_->ChunkText().View();
        const std::size_t cut = LastLogCut(text);
        if (cut == std::string_view::npos) return ReadChunkHere();
        const std::uint64_t lines = bytes::CountByte(text.substr(0, cut), '\n');
        if (!lines_->EndChunk(cut, linesBefore_, true)) return false;
        linesBefore_ += lines;
        return true;
    }

    // The log collected for a piece is read here, and what follows too until a line that ends
    // any dump comes while the input does not come slowly.
    bool ReadChunkHere() {
        chunked_ = false;
        const std::string text(lines_->ChunkText().View());
        lines_->ChunkText().Clear();
        reader_->Restart(linesBefore_);
        reader_->Feed(text);  // its messages go to the workers as texts
        return logGoes_;
    }

    bool FeedHere(std::string_view block) {
        const std::size_t cut = slow_ ? std::string_view::npos : FirstLogCut(block);
        if (cut == std::string_view::npos) {
            reader_->Feed(block);
            return logGoes_ && (lines_ || out_.Commit());
        }
        reader_->Feed(block.substr(0, cut));
        reader_->Finish();
        if (!logGoes_) return false;
        linesBefore_ = reader_->Counts().lines;
        serialCounts_.messages += reader_->Counts().messages;
        serialCounts_.skippedLines += reader_->Counts().skippedLines;
        reader_->Restart(linesBefore_);
        if (!StartChunks()) return false;
        lines_->ChunkText().Assign(block.substr(cut));
        return true;
    }

    bool Publish() { return lines_ ? lines_->Publish() : out_.Flush(); }

    // Reading a log stopped early: the output is gone, or memory ran out while decoding one of
    // its messages (reported with the records before it).
    bool StopLog() {
        logGoes_ = true;
        reader_->Restart();
        if (lines_ && Open()) lines_->Drain();
        return Open();
    }

    void TakeMessage(const LogMessage& message) {
        // Once the pipeline says to stop, the rest of the block is passed over.
        if (logGoes_) {
            if (summary_) summary_->AddMessage(message);
            lines_->LineText().append(message.text);
            logGoes_ = lines_->EndMessage(message.line, message.bug, message.cut);
        }
    }

    // Every line is a message; a line's text after its word 30 is passed over unread.
    bool DecodeLines(InputSource& input, const std::string& name) {
        splitter_->StartInput(name);
        for (;;) {
            // Lines that arrive slowly (`tail -f log | quillmark-decode --lines`) are shown
            // as soon as no more input is waiting, not when a block is full.
            if (input.WouldWait() && !lines_->Publish()) {
                return StopLines();
            }
            const long count = input.Read(block_.get(), kReadBlock);
            if (count < 0) {
                // The unfinished line is not decoded: its record would be wrong.
                splitter_->Abandon();
                lines_->Drain();
                diagnostics_.InputError(name, input.Error());
                return Open();
            }
            if (count == 0) {
                break;
            }
            if (!splitter_->Feed({block_.get(), static_cast<std::size_t>(count)})) {
                return StopLines();
            }
        }
        if (!splitter_->Finish()) {
            return StopLines();
        }
        lines_->Drain();
        return Open();
    }

    // Reading an input in --lines mode stopped early: the output is gone, or memory ran out
    // while decoding one of its lines (reported with the records before it).
    bool StopLines() {
        if (Open()) {
            splitter_->Abandon();
            lines_->Drain();
        }
        return Open();
    }

    // Memory ran out on this thread: the records already decoded are kept and written, the
    // input is reported, and the run goes on with the next input.
    bool OutOfMemory(const std::string& name) {
        ClearKeepingSmallStorage(message_);
        if (options_.log && lines_) {
            // The messages already handed to the pipeline are written.
            try {
                StopLog();
            } catch (const std::bad_alloc&) {
                diagnostics_.OutOfMemory(name, std::nullopt);
                return false;
            }
            diagnostics_.OutOfMemory(name, std::nullopt);
            return Open();
        }
        if (!options_.lines) {
            out_.Buffer().resize(recordStart_);  // no half-written record
            diagnostics_.OutOfMemory(name, std::nullopt);
            return Open();
        }
        const std::uint64_t line = lines_->LineNumber();
        try {
            splitter_->Abandon();
            lines_->Drain();
        } catch (const std::bad_alloc&) {
            diagnostics_.OutOfMemory(name, line);
            return false;  // not even the lines already read could be written: stop here
        }
        diagnostics_.OutOfMemory(name, line);
        return Open();
    }

    const DecodeOptions& options_;
    const RunSetup& setup_;
    OutputSink out_;
    Diagnostics diagnostics_;
    MessageCutter cutter_;
    std::unique_ptr<char[]> block_;
    RecordWriterFactory writers_;
    std::string message_;                    // default mode: the text decoding needs
    std::optional<MessageDecoder> decoder_;  // default mode
    std::size_t recordStart_ = 0;            // default mode: where the record being written begins
    std::uint64_t messagesWritten_ = 0;
    std::optional<LinePipeline> lines_;     // --lines and --log
    std::optional<LineSplitter> splitter_;  // --lines
    std::optional<LogReader> reader_;       // --log
    const std::string* logName_ = nullptr;  // --log: the input being read
    bool logGoes_ = true;                   // --log: the pipeline takes more messages
    bool chunked_ = false;                  // --log: the log is read in pieces on the workers
    bool slow_ = false;                     // --log: the input has come slowly: read here
    std::uint64_t linesBefore_ = 0;         // --log: lines before the piece being collected
    LogCounts serialCounts_;                // --log: what the reader here counted before a piece
    std::optional<LogSummary> summary_;     // --summary
    std::vector<const NameCounter*> counters_;  // --summary: those of the pipeline's workers
};

}  // namespace

int RunDecode(const DecodeOptions& options, const RunSetup& setup) {
    return DecodeRun(options, setup).Run();
}

int RunDecode(const DecodeOptions& options, int outputFd) {
    return RunDecode(options,
                     RunSetup{outputFd, std::cerr, OpenInputFile, {}, kInputBoxCharacters});
}

}  // namespace quillmark::cli
