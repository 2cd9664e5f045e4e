// SPDX-License-Identifier: MIT
#include "cli/LinePipeline.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <string_view>
#include <system_error>

#include "cli/MessageDecoder.h"
#include "cli/StringStorage.h"

namespace quillmark::cli {
namespace {

// A batch is handed over once it holds this much text or this many lines. With at most
// 2 * kMostWorkers + 1 batches, their text and records stay within a few tens of MiB even
// when every line is as long as the input box allows.
constexpr std::size_t kBatchText = 128 * 1024;
constexpr std::size_t kBatchLines = 1024;
constexpr unsigned kMostWorkers = 4;

unsigned WorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1U, kMostWorkers);
}

}  // namespace

// A worker's decoder, and its reader of the pieces of log it is handed.
struct LinePipeline::Worker {
    Worker(std::unique_ptr<RecordWriter> writer, std::size_t characterLimit)
        : decoder(std::move(writer)),
          reader([this](const LogMessage& message) { Take(message); }, characterLimit) {}
    void Take(const LogMessage& message);

    MessageDecoder decoder;
    LogReader reader;
    Batch* batch = nullptr;  // the piece being read
};

struct LinePipeline::Batch {
    std::string text;               // the needed text of each line, one after the other
    std::vector<std::size_t> ends;  // where each line's text ends
    std::vector<std::size_t> cuts;  // lines (index in the batch) that were cut
    std::string file;
    std::uint64_t inputId = 0;
    std::uint64_t firstLine = 1;
    // --log: each message's line and where its BUG word ends in `bugs`; --lines leaves them
    // empty, the lines then counting from firstLine.
    std::vector<std::uint64_t> lines;
    std::string bugs;
    std::vector<std::size_t> bugEnds;
    // A piece of log read on the worker: `chunkText` up to chunkEnd, after firstLine - 1 lines; the
    // worker fills lines, bugs, bugEnds and cuts as it finds the messages.
    bool chunk = false;
    ReadBuffer chunkText;
    std::size_t chunkEnd = 0;
    bool finish = true;
    // Filled by the worker:
    std::string output;
    std::vector<std::size_t> cutOffsets;  // where in output each cut line's record begins
    std::size_t records = 0;              // records in output
    bool failed = false;                  // memory ran out at line `records`
    std::uint64_t failedLine = 0;         // a piece of log: the message's line it ran out at
    LogCounts counts;                     // a piece of log: what the worker's reader counted
    bool done = false;

    std::uint64_t LineOf(std::size_t k) const {
        if (chunk) return k < lines.size() ? lines[k] : failedLine;
        return lines.empty() ? firstLine + k : lines[k];
    }
    std::string_view BugOf(std::size_t k) const {
        if (bugEnds.empty()) return {};
        const std::size_t begin = k == 0 ? 0 : bugEnds[k - 1];
        return std::string_view(bugs).substr(begin, bugEnds[k] - begin);
    }
};

LinePipeline::LinePipeline(const RecordWriterFactory& writers, OutputSink& out,
                           Diagnostics& diagnostics, std::size_t characterLimit)
    : out_(out), diagnostics_(diagnostics), characterLimit_(characterLimit) {
    const unsigned workers = WorkerCount();
    for (unsigned k = 0; k < 2 * workers + 1; ++k) {
        slots_.push_back(std::make_unique<Batch>());
        slots_.back()->ends.reserve(kBatchLines);
    }
    queue_.resize(slots_.size());
    filling_ = slots_.front().get();
    for (unsigned k = 0; k < workers; ++k) {
        decoders_.push_back(std::make_unique<Worker>(writers(), characterLimit));
    }
    separator_ = decoders_.front()->decoder.Separator();
    // Room for every worker before the first starts: a vector growing once threads run could
    // throw with a thread it holds still joinable, which ends the program.
    workers_.reserve(workers);
    try {
        for (unsigned k = 0; k < workers; ++k) {
            workers_.emplace_back([this, k] { Work(*decoders_[k]); });
        }
    } catch (const std::system_error&) {
        // No more threads to be had: those that started do the work, or else Submit() does.
    } catch (const std::bad_alloc&) {
        // Nor memory for one more: the same.
    }
}

LinePipeline::~LinePipeline() {
    {
        const std::lock_guard lock(mutex_);
        queued_ = 0;  // batches not yet started are not needed any more
        stopping_ = true;
    }
    workReady_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void LinePipeline::StartInput(const std::string& name) {
    file_ = name;
    ++inputId_;
    nextLine_ = 1;
    chunkCounts_ = {};
}

std::string& LinePipeline::LineText() { return filling_->text; }

bool LinePipeline::EndLine(bool cut) {
    const bool go = EndRecord(cut);
    ++nextLine_;
    return go;
}

bool LinePipeline::EndMessage(std::uint64_t line, std::string_view bug, bool cut) {
    filling_->lines.push_back(line);
    filling_->bugs.append(bug);
    filling_->bugEnds.push_back(filling_->bugs.size());
    return EndRecord(cut);
}

bool LinePipeline::EndRecord(bool cut) {
    if (filling_->ends.empty()) {
        filling_->file = file_;
        filling_->inputId = inputId_;
        filling_->firstLine = nextLine_;
    }
    if (cut) {
        filling_->cuts.push_back(filling_->ends.size());
    }
    filling_->ends.push_back(filling_->text.size());
    if (filling_->text.size() < kBatchText && filling_->ends.size() < kBatchLines) {
        return true;
    }
    Submit();
    return TakeFreeSlot() && !InputFailed();
}

bool LinePipeline::StartChunks() {
    if (!filling_->ends.empty()) {
        Submit();
        if (!TakeFreeSlot()) return false;
    }
    filling_->text.clear();
    filling_->chunkText.Clear();
    return !InputFailed();
}

ReadBuffer& LinePipeline::ChunkText() { return filling_->chunkText; }

bool LinePipeline::EndChunk(std::size_t end, std::uint64_t linesBefore, bool finish) {
    Batch& batch = *filling_;
    batch.chunk = true;
    batch.chunkEnd = end;
    batch.finish = finish;
    batch.file = file_;
    batch.inputId = inputId_;
    batch.firstLine = linesBefore + 1;
    Submit();
    if (!TakeFreeSlot()) return false;
    // The rest starts the next piece; the piece handed over keeps its text until its slot is
    // filled again, which comes after this one.
    filling_->chunkText.Assign(batch.chunkText.View().substr(end));
    return !InputFailed();
}

void LinePipeline::DropOpenLine() {
    filling_->text.resize(filling_->ends.empty() ? 0 : filling_->ends.back());
}

bool LinePipeline::Publish() {
    const std::size_t openFrom = filling_->ends.empty() ? 0 : filling_->ends.back();
    Batch* const previous = filling_;
    if (!filling_->ends.empty()) {
        Submit();
    }
    bool open = true;
    while (inFlight_ > 0 && open) {
        open = WriteOldest();
    }
    open = open && TakeFreeSlot() && out_.Flush();
    if (open && previous != filling_) {
        // The unfinished line goes on in the next batch; the one written keeps its text
        // until its slot is filled again, which comes after this one.
        filling_->text.assign(previous->text, openFrom);
    }
    return open && !InputFailed();
}

bool LinePipeline::Drain() {
    if (InputFailed()) {
        filling_->text.clear();
        filling_->chunkText.Clear();
        filling_->ends.clear();
        filling_->cuts.clear();
        filling_->lines.clear();
        filling_->bugs.clear();
        filling_->bugEnds.clear();
    }
    DropOpenLine();
    return Publish();
}

void LinePipeline::Submit() {
    filling_->cutOffsets.resize(filling_->cuts.size());
    if (workers_.empty()) {
        Decode(*filling_, *decoders_.front());
    } else {
        const std::lock_guard lock(mutex_);
        queue_[(queueFront_ + queued_++) % queue_.size()] = filling_;
        workReady_.notify_one();
    }
    ++inFlight_;
    filling_ = nullptr;
}

bool LinePipeline::TakeFreeSlot() {
    if (filling_ != nullptr) {
        return true;
    }
    if (inFlight_ == slots_.size() && !WriteOldest()) {
        return false;  // every slot is in flight: the oldest must be written first
    }
    Batch& next = *slots_[(oldest_ + inFlight_) % slots_.size()];
    ClearKeepingSmallStorage(next.text);
    next.chunkText.Clear();
    ClearKeepingSmallStorage(next.output);
    next.ends.clear();
    next.cuts.clear();
    next.cutOffsets.clear();
    next.lines.clear();
    next.bugs.clear();
    next.bugEnds.clear();
    next.chunk = false;
    next.counts = {};
    next.records = 0;
    next.failed = false;
    next.done = false;
    filling_ = &next;
    return true;
}

bool LinePipeline::WriteOldest() {
    Batch& batch = *slots_[oldest_];
    {
        std::unique_lock lock(mutex_);
        batchDone_.wait(lock, [&batch] { return batch.done; });
    }
    oldest_ = (oldest_ + 1) % slots_.size();
    --inFlight_;
    const bool open = batch.inputId == failedInput_ || WriteBatch(batch);
    batch.output.clear();
    return open;
}

bool LinePipeline::WriteBatch(Batch& batch) {
    // The batch's first record follows the run's earlier ones; a cut line's message comes
    // right before its record.
    if (batch.records > 0 && recordsWritten_ > 0 && !out_.Append(separator_)) {
        return false;
    }
    const std::string_view output = batch.output;
    std::size_t written = 0;
    for (std::size_t k = 0; k < batch.cuts.size() && batch.cuts[k] < batch.records; ++k) {
        if (!out_.Append(output.substr(written, batch.cutOffsets[k] - written))) {
            return false;
        }
        written = batch.cutOffsets[k];
        diagnostics_.MessageCut(batch.file, batch.LineOf(batch.cuts[k]), characterLimit_);
    }
    if (!out_.Append(output.substr(written))) {
        return false;
    }
    recordsWritten_ += batch.records;
    chunkCounts_.lines = std::max(chunkCounts_.lines, batch.counts.lines);
    chunkCounts_.messages += batch.counts.messages;
    chunkCounts_.skippedLines += batch.counts.skippedLines;
    if (batch.failed) {
        failedInput_ = batch.inputId;
        diagnostics_.OutOfMemory(batch.file, batch.LineOf(batch.records));
    }
    return out_.state() == OutputSink::State::Open;
}

void LinePipeline::Work(Worker& worker) {
    for (;;) {
        Batch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            workReady_.wait(lock, [this] { return stopping_ || queued_ > 0; });
            if (queued_ == 0) {
                return;
            }
            batch = queue_[queueFront_];
            queueFront_ = (queueFront_ + 1) % queue_.size();
            --queued_;
        }
        Decode(*batch, worker);
    }
}

void LinePipeline::Worker::Take(const LogMessage& message) {
    Batch& piece = *batch;
    const std::size_t k = piece.records;
    piece.failedLine = message.line;
    const std::size_t recordStart = piece.output.size();
    try {
        piece.lines.push_back(message.line);
        if (k > 0) piece.output += decoder.Separator();
        if (message.cut) {
            // The offset first: a cut is only looked at where its offset is there.
            piece.cutOffsets.push_back(piece.output.size());
            piece.cuts.push_back(k);
        }
        const MessageOrigin origin{piece.file, message.line, message.bug, &message};
        if (message.layout != nullptr) {
            decoder.Append(piece.output, *message.layout, origin);
        } else {
            decoder.Append(piece.output, message.text, origin);
        }
    } catch (const std::bad_alloc&) {
        piece.output.resize(recordStart);
        throw;
    }
    piece.records = k + 1;
}

void LinePipeline::ReadChunk(Batch& batch, Worker& worker) {
    worker.batch = &batch;
    worker.reader.Restart(batch.firstLine - 1);
    try {
        worker.reader.Feed(batch.chunkText.View().substr(0, batch.chunkEnd));
        if (batch.finish) worker.reader.Finish();
    } catch (const std::bad_alloc&) {
        // The records before the message stay; it and the rest of its input are not decoded.
        batch.failed = true;
    }
    batch.counts = worker.reader.Counts();
    worker.reader.Restart();
}

void LinePipeline::Decode(Batch& batch, Worker& worker) {
    if (batch.chunk) {
        ReadChunk(batch, worker);
        {
            const std::lock_guard lock(mutex_);
            batch.done = true;
        }
        batchDone_.notify_all();
        return;
    }
    MessageDecoder& decoder = worker.decoder;
    std::size_t begin = 0;
    std::size_t nextCut = 0;
    std::size_t recordStart = 0;
    try {
        for (std::size_t k = 0; k < batch.ends.size(); ++k) {
            recordStart = batch.output.size();
            if (k > 0) {
                batch.output += decoder.Separator();
            }
            if (nextCut < batch.cuts.size() && batch.cuts[nextCut] == k) {
                batch.cutOffsets[nextCut++] = batch.output.size();
            }
            const std::string_view text(batch.text.data() + begin, batch.ends[k] - begin);
            decoder.Append(batch.output, text, {batch.file, batch.LineOf(k), batch.BugOf(k)});
            batch.records = k + 1;
            begin = batch.ends[k];
        }
    } catch (const std::bad_alloc&) {
        // The records before the line stay; the line and the rest of its input are not decoded.
        batch.output.resize(recordStart);
        batch.failed = true;
    }
    {
        const std::lock_guard lock(mutex_);
        batch.done = true;
    }
    batchDone_.notify_all();
}

}  // namespace quillmark::cli
