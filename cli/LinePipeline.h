// SPDX-License-Identifier: MIT
#pragma once
// Decodes the lines of an input on worker threads while the main thread reads on, and writes
// the records in input order. Memory stays bounded: a few batches of lines are in flight.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/OutputSink.h"

namespace quillmark::cli {

class MessageDecoder;

class LinePipeline {
public:
    LinePipeline(const DecodeOptions& options, OutputSink& out);
    ~LinePipeline();
    LinePipeline(const LinePipeline&) = delete;
    LinePipeline& operator=(const LinePipeline&) = delete;

    // Lines from here on belong to this input, numbered from 1.
    void StartInput(const std::string& name);
    // Where the current line's text is collected.
    std::string& LineText();
    // Ends the current line. False once the output is gone.
    bool EndLine();
    // Forgets the unfinished current line (its input failed).
    void DropOpenLine();
    // Writes every line ended so far; the unfinished line stays. False once the output is gone.
    bool Publish();
    // Writes every line ended so far at the end of an input. False once the output is gone.
    bool Drain();

private:
    struct Batch;

    void Work();
    void Decode(Batch& batch, MessageDecoder& decoder);
    void Submit();
    bool WriteOldest();
    bool TakeFreeSlot();

    const DecodeOptions& options_;
    OutputSink& out_;
    std::vector<std::unique_ptr<Batch>> slots_;
    std::size_t oldest_ = 0;    // first slot in flight
    std::size_t inFlight_ = 0;  // slots submitted and not yet written
    Batch* filling_ = nullptr;  // the slot being filled, after those in flight
    std::string file_;
    std::uint64_t nextLine_ = 1;
    std::uint64_t recordsSubmitted_ = 0;

    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable batchDone_;
    std::deque<Batch*> queue_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
    std::unique_ptr<MessageDecoder> inlineDecoder_;  // when no worker thread could start
};

}  // namespace quillmark::cli
