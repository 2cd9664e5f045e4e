// SPDX-License-Identifier: MIT
// Memory running out in the middle of a run: the records before are kept and written, the input
// is reported with its line, the run goes on with the next input and ends with status 1.
// Driven in memory, with a record writer or an input that runs out of memory on cue.

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <thread>

#include "cli/DecodeRun.h"
#include "cli/LinePipeline.h"
#include "cli/ReportWriter.h"
#include "tests/cli/DecodeProcess.h"
#include "tests/support/NamedCase.h"

// The allocations of one thread can be made to run out: the one after `allocationsLeft` more fails.
namespace {
std::atomic<long> allocationsLeft{-1};  // -1: none fails
std::atomic<std::thread::id> failingThread;
}  // namespace

void* operator new(std::size_t size) {
    if (allocationsLeft.load(std::memory_order_relaxed) >= 0 &&
        std::this_thread::get_id() == failingThread.load() && allocationsLeft-- == 0) {
        allocationsLeft = -1;
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

namespace quillmark::cli::test {
namespace {

// Writes reports, but memory runs out on the message whose first word is `failOn`. (Workers
// decode batches at the same time, so a count of records would not name one line.)
class FailingWriter final : public RecordWriter {
public:
    explicit FailingWriter(std::string failOn) : failOn_(std::move(failOn)) {}
    void Append(std::string& out, const RecordView& record, const Explanation* sources,
                const MessageOrigin& origin) override {
        std::string callRegister;
        record.Shown(Field::CallRegister).AssignTo(callRegister);
        Write(out, callRegister, [&] { report_.Append(out, record, sources, origin); });
    }
    std::string_view Separator() const override { return report_.Separator(); }

private:
    template <class Report>
    void Write(std::string& out, const std::string& callRegister, const Report& report) {
        out += "partial";  // a record begun when memory runs out must not reach the output
        if (callRegister == failOn_) {
            throw std::bad_alloc();
        }
        out.resize(out.size() - 7);
        report();
    }

    std::string failOn_;
    ReportWriter report_;
};

// An input in memory read in blocks of `block` bytes; with `failAfter` blocks given, the next
// read runs out of memory.
class MemoryInput final : public InputSource {
public:
    MemoryInput(std::string text, std::size_t block, int failAfter)
        : text_(std::move(text)), block_(block), failAfter_(failAfter) {}
    bool IsOpen() const override { return true; }
    long Read(char* buffer, std::size_t capacity) override {
        if (failAfter_-- == 0) {
            throw std::bad_alloc();
        }
        const std::size_t size = std::min({capacity, block_, text_.size() - at_});
        text_.copy(buffer, size, at_);
        at_ += size;
        return static_cast<long>(size);
    }
    bool WouldWait() const override { return false; }
    int Error() const override { return 0; }

private:
    std::string text_;
    std::size_t at_ = 0;
    std::size_t block_;
    int failAfter_;
};

std::string Lines(int first, int last) {
    std::string text;
    for (int k = first; k <= last; ++k) {
        text += std::to_string(k) + "\n";
    }
    return text;
}

struct OutOfMemoryCase : support::NamedCase {
    bool lines;
    std::vector<std::pair<std::string, std::string>> inputs;  // name, text
    const char* failingMessage;     // "" or the first word of the message that runs out of memory
    const char* failingInput;       // "" or the input whose read runs out of memory after one block
    std::vector<std::string> kept;  // the messages whose records are written
    std::string err;
};

std::string Told(const std::string& where) {
    return "quillmark-decode: " + where +
           ": out of memory; the rest of this input is not decoded\n";
}

std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> numbers;
    for (int k = first; k <= last; ++k) {
        numbers.push_back(std::to_string(k));
    }
    return numbers;
}

std::vector<std::string> Joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<OutOfMemoryCase> kCases{
    {"MessageOfTheSecondInput",
     false,
     {{"a", "A"}, {"b", "B"}, {"c", "C"}},
     "B",
     "",
     {"A", "C"},
     Told("b")},
    {"MessageOfTheFirstInput", false, {{"a", "A"}, {"b", "B"}}, "A", "", {"B"}, Told("a")},
    {"ReadingAMessage", false, {{"a", "A B C"}, {"b", "B"}}, "", "a", {"B"}, Told("a")},
    {"LineInTheMiddle", true, {{"a", Lines(1, 3)}, {"b", "4\n"}}, "2", "", {"1", "4"}, Told("a:2")},
    {"FirstLineOfTheLastInput",
     true,
     {{"a", Lines(1, 2)}, {"b", "3\n4\n"}},
     "3",
     "",
     {"1", "2"},
     Told("b:1")},
    {"LineInALaterBatch",
     true,
     {{"a", Lines(1, 3000)}, {"b", "x\n"}},
     "2500",
     "",
     Joined(Numbers(1, 2499), {"x"}),
     Told("a:2500")},
    {"ReadingALine", true, {{"a", "1\n2\n3"}, {"b", "4\n"}}, "", "a", {"1", "2", "4"}, Told("a:3")},
};

class OutOfMemory : public testing::TestWithParam<OutOfMemoryCase> {};

TEST_P(OutOfMemory, RecordsBeforeKeptInputReportedNextInputDecoded) {
    const OutOfMemoryCase& c = GetParam();
    DecodeOptions options;
    options.lines = c.lines;
    for (const auto& input : c.inputs) {
        options.files.push_back(input.first);
    }
    const int fd = ::memfd_create("out-of-memory-test", MFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    std::ostringstream err;
    const RunSetup setup{
        fd, err,
        [&](const std::string& name) -> std::unique_ptr<InputSource> {
            for (const auto& [inputName, text] : c.inputs) {
                if (inputName == name) {
                    return std::make_unique<MemoryInput>(text, 4, name == c.failingInput ? 1 : -1);
                }
            }
            return nullptr;
        },
        [&] { return std::make_unique<FailingWriter>(c.failingMessage); }, kBoxCharacters};
    const int status = RunDecode(options, setup);

    std::string out(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)), '\0');
    ASSERT_EQ(::pread(fd, out.data(), out.size(), 0), static_cast<ssize_t>(out.size()));
    ::close(fd);
    std::string wanted;
    for (const std::string& message : c.kept) {
        wanted += (wanted.empty() ? "" : "\n") + WindowReport(message);
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err.str(), c.err);
    EXPECT_EQ(out, wanted);
}

// Memory running out at each allocation of the line pipeline's set-up in turn, while its worker
// threads start: the set-up fails with bad_alloc or goes on with fewer workers, and never ends
// the program.
TEST(OutOfMemoryAtStart, LinePipelineSetUpFailsCleanlyAtEveryAllocation) {
    const int fd = ::memfd_create("pipeline-set-up", MFD_CLOEXEC);
    ASSERT_GE(fd, 0);
    OutputSink out(fd);
    std::ostringstream err;
    Diagnostics diagnostics(out, err);
    const RecordWriterFactory writers = [] { return std::make_unique<ReportWriter>(); };
    failingThread = std::this_thread::get_id();
    for (long allocation = 0; allocation < 80; ++allocation) {
        allocationsLeft = allocation;
        try {
            const LinePipeline pipeline(writers, out, diagnostics, kBoxCharacters);
            allocationsLeft = -1;
        } catch (const std::bad_alloc&) {
        }
    }
    ::close(fd);
}

INSTANTIATE_TEST_SUITE_P(OutOfMemory, OutOfMemory, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OutOfMemoryCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace quillmark::cli::test
