// SPDX-License-Identifier: MIT
#include "cli/LinePipeline.h"

#include <algorithm>
#include <system_error>

#include "cli/MessageDecoder.h"

namespace quillmark::cli {
namespace {

// A batch is handed over once it holds this much text or this many lines.
constexpr std::size_t kBatchText = 256 * 1024;
constexpr std::size_t kBatchLines = 1024;

unsigned WorkerCount() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp(cores, 1U, 8U);
}

}  // namespace

struct LinePipeline::Batch {
    std::string text;                // the needed text of each line, one after the other
    std::vector<std::size_t> ends;   // where each line's text ends
    std::string file;
    std::uint64_t firstLine = 1;
    std::uint64_t firstRecord = 0;   // records of the run before this batch
    std::string output;
    bool done = false;
};

LinePipeline::LinePipeline(const DecodeOptions& options, OutputSink& out)
    : options_(options), out_(out) {
    const unsigned workers = WorkerCount();
    for (unsigned k = 0; k < 2 * workers + 1; ++k) {
        slots_.push_back(std::make_unique<Batch>());
    }
    filling_ = slots_.front().get();
    try {
        for (unsigned k = 0; k < workers; ++k) {
            workers_.emplace_back([this] { Work(); });
        }
    } catch (const std::system_error&) {
        // No more threads to be had: those that started do the work, or else Submit() does.
    }
    if (workers_.empty()) {
        inlineDecoder_ = std::make_unique<MessageDecoder>(options_.json, true);
    }
}

LinePipeline::~LinePipeline() {
    {
        const std::lock_guard lock(mutex_);
        queue_.clear();  // batches not yet started are not needed any more
        stopping_ = true;
    }
    workReady_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void LinePipeline::StartInput(const std::string& name) {
    file_ = name;
    nextLine_ = 1;
}

std::string& LinePipeline::LineText() {
    return filling_->text;
}

bool LinePipeline::EndLine() {
    if (filling_->ends.empty()) {
        filling_->file = file_;
        filling_->firstLine = nextLine_;
        filling_->firstRecord = recordsSubmitted_;
    }
    filling_->ends.push_back(filling_->text.size());
    ++nextLine_;
    if (filling_->text.size() < kBatchText && filling_->ends.size() < kBatchLines) {
        return true;
    }
    Submit();
    return TakeFreeSlot();
}

void LinePipeline::DropOpenLine() {
    filling_->text.resize(filling_->ends.empty() ? 0 : filling_->ends.back());
}

bool LinePipeline::Publish() {
    std::string openLine;
    if (!filling_->ends.empty()) {
        openLine.assign(filling_->text, filling_->ends.back());
        DropOpenLine();
        Submit();
    }
    bool open = true;
    while (inFlight_ > 0 && open) {
        open = WriteOldest();
    }
    open = open && TakeFreeSlot() && out_.Flush();
    if (open && !openLine.empty()) {
        filling_->text = std::move(openLine);
    }
    return open;
}

bool LinePipeline::Drain() {
    DropOpenLine();
    return Publish();
}

void LinePipeline::Submit() {
    recordsSubmitted_ += filling_->ends.size();
    if (inlineDecoder_) {
        Decode(*filling_, *inlineDecoder_);
    } else {
        const std::lock_guard lock(mutex_);
        queue_.push_back(filling_);
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
    if (next.text.capacity() > 4 * kBatchText) {
        std::string().swap(next.text);  // a huge line's storage is not kept for the rest of the run
    }
    if (next.output.capacity() > 16 * kBatchText) {
        std::string().swap(next.output);
    }
    next.text.clear();
    next.ends.clear();
    next.output.clear();
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
    const bool open = out_.Append(batch.output);
    batch.output.clear();
    return open;
}

void LinePipeline::Work() {
    MessageDecoder decoder(options_.json, true);
    for (;;) {
        Batch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            workReady_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                return;
            }
            batch = queue_.front();
            queue_.pop_front();
        }
        Decode(*batch, decoder);
    }
}

void LinePipeline::Decode(Batch& batch, MessageDecoder& decoder) {
    std::size_t begin = 0;
    for (std::size_t k = 0; k < batch.ends.size(); ++k) {
        const std::string_view text(batch.text.data() + begin, batch.ends[k] - begin);
        decoder.Append(batch.output, text, {batch.file, batch.firstLine + k},
                       batch.firstRecord + k == 0);
        begin = batch.ends[k];
    }
    {
        const std::lock_guard lock(mutex_);
        batch.done = true;
    }
    batchDone_.notify_all();
}

}  // namespace quillmark::cli
