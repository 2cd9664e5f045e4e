// SPDX-License-Identifier: MIT
#pragma once
// Decodes the lines of an input, or the BUG messages of a log, on worker threads while the main
// thread reads on, and writes the records in input order.
//
// Call order, all on the thread that reads (the workers only decode):
//   for each input:
//     StartInput(name)
//     for each line: append its text to LineText(), then EndLine(cut)
//     or for each BUG message: append its dump to LineText(), then EndMessage(line, bug, cut)
//     or for a log read on the workers: StartChunks(), then append the log to ChunkText() and
//       hand each piece to the workers with EndChunk(end, linesBefore, finish)
//     Publish()       whenever reading would wait, so that slow input is shown at once
//     DropOpenLine()  when the input fails in the middle of a line
//     Drain()         at the end of the input, also after a failure
// EndLine(), EndMessage(), Publish() and Drain() return false once reading this input should stop:
// the output is gone, or memory ran out while decoding one of its lines (InputFailed() then tells
// so, the records before that line are written and the rest of the input is passed over).
//
// Memory stays bounded: every line holds at most the input box's characters, a batch is handed
// over at kBatchText bytes or kBatchLines lines, and at most 2 * workers + 1 batches exist. A
// piece of log is as large as its caller makes it (the caller cuts it at kLogChunk bytes).

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/Diagnostics.h"
#include "cli/OutputSink.h"
#include "cli/RecordFormat.h"
#include "cli/StringStorage.h"
#include "decoder/log_reader.h"

namespace quillmark::cli {

class MessageDecoder;

class LinePipeline {
public:
    LinePipeline(const RecordWriterFactory& writers, OutputSink& out, Diagnostics& diagnostics,
                 std::size_t characterLimit);
    ~LinePipeline();
    LinePipeline(const LinePipeline&) = delete;
    LinePipeline& operator=(const LinePipeline&) = delete;

    // Lines from here on belong to this input, numbered from 1.
    void StartInput(const std::string& name);
    // Where the current line's text is collected.
    std::string& LineText();
    // The number of the current line.
    std::uint64_t LineNumber() const { return nextLine_; }
    // Ends the current line; `cut` tells that it was longer than the input box holds.
    bool EndLine(bool cut);
    // Ends the message whose dump is in LineText(): `line` is the line of its BUG word `bug`.
    bool EndMessage(std::uint64_t line, std::string_view bug, bool cut);
    // The log from here on is read on the workers, a piece at a time: the records of the
    // messages ended so far go first.
    bool StartChunks();
    // Where the log is collected; it starts at a line start.
    ReadBuffer& ChunkText();
    // Hands ChunkText() up to `end` (a line start, or its end) to a worker to be read as a log
    // that goes on after `linesBefore` lines; with `finish`, the messages still open at `end`
    // are ended there, else dropped (the input failed). What follows `end` stays in ChunkText().
    bool EndChunk(std::size_t end, std::uint64_t linesBefore, bool finish);
    // What the workers found in the pieces of the current input written so far.
    const LogCounts& ChunkCounts() const { return chunkCounts_; }
    // Forgets the unfinished current line (its input failed).
    void DropOpenLine();
    // Writes every line ended so far; the unfinished line stays.
    bool Publish();
    // Writes every line ended so far at the end of an input.
    bool Drain();
    // Memory ran out while decoding a line of the current input.
    bool InputFailed() const { return failedInput_ == inputId_; }

private:
    struct Batch;
    struct Worker;

    void Work(Worker& worker);
    void Decode(Batch& batch, Worker& worker);
    void ReadChunk(Batch& batch, Worker& worker);
    void Submit();
    bool WriteOldest();
    bool WriteBatch(Batch& batch);
    bool TakeFreeSlot();
    bool EndRecord(bool cut);

    OutputSink& out_;
    Diagnostics& diagnostics_;
    std::size_t characterLimit_;
    std::string separator_;
    std::vector<std::unique_ptr<Batch>> slots_;
    std::size_t oldest_ = 0;    // first slot in flight
    std::size_t inFlight_ = 0;  // slots submitted and not yet written
    Batch* filling_ = nullptr;  // the slot being filled, after those in flight
    std::string file_;
    std::uint64_t inputId_ = 0;
    std::uint64_t failedInput_ = 0;  // input ids count from 1
    std::uint64_t nextLine_ = 1;
    std::uint64_t recordsWritten_ = 0;
    LogCounts chunkCounts_;

    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable batchDone_;
    std::vector<Batch*> queue_;  // a ring of slots_.size() places: submitted, not yet started
    std::size_t queueFront_ = 0;
    std::size_t queued_ = 0;
    bool stopping_ = false;
    std::vector<std::unique_ptr<Worker>> decoders_;  // one per worker thread, or one inline
    std::vector<std::thread> workers_;
};

}  // namespace quillmark::cli
