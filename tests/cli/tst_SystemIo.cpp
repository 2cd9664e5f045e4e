// SPDX-License-Identifier: MIT
// The system layer of quillmark-decode (cli/SystemIo.h), the same tests on both of its sides:
// built for Linux and run there, and built for Windows and run under Wine.

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "cli/InputFile.h"
#include "cli/SystemIo.h"
#include "decoder/utf8.h"

namespace quillmark::cli {
namespace {

namespace fs = std::filesystem;

// A folder of its own for this run, removed at the end.
class SystemIo : public testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = fs::temp_directory_path() /
                ("quillmark-system-io-" + std::to_string(std::random_device{}()));
        fs::create_directories(root_);
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // A file of the given UTF-8 name and bytes; returns its UTF-8 path.
    static std::string File(const std::string& name, const std::string& bytes) {
        const fs::path path = root_ / fs::path(std::u8string(name.begin(), name.end()));
        std::ofstream(path, std::ios::binary) << bytes;
        const std::u8string text = path.u8string();
        return {text.begin(), text.end()};
    }
    static std::string Folder(const std::string& name) {
        const fs::path path = root_ / name;
        fs::create_directories(path);
        return path.string();
    }

    static std::string ReadAll(InputSource& input) {
        std::string text;
        std::vector<char> block(7);  // small blocks: every read ends somewhere awkward
        for (long count; (count = input.Read(block.data(), block.size())) > 0;) {
            text.append(block.data(), static_cast<std::size_t>(count));
        }
        return text;
    }

    static fs::path root_;
};
fs::path SystemIo::root_;

// An anonymous pipe: read end, write end.
struct Pipe {
    sysio::Handle read = sysio::kNoHandle;
    sysio::Handle write = sysio::kNoHandle;
    Pipe() {
#ifdef _WIN32
        HANDLE r = nullptr;
        HANDLE w = nullptr;
        CreatePipe(&r, &w, nullptr, 65536);
        read = reinterpret_cast<sysio::Handle>(r);
        write = reinterpret_cast<sysio::Handle>(w);
#else
        int fds[2];
        if (::pipe(fds) == 0) {
            read = fds[0];
            write = fds[1];
        }
#endif
    }
    void CloseRead() { Close(read); }
    void CloseWrite() { Close(write); }
    ~Pipe() {
        Close(read);
        Close(write);
    }

private:
    static void Close(sysio::Handle& handle) {
        if (handle != sysio::kNoHandle) {
            sysio::Close(handle);
            handle = sysio::kNoHandle;
        }
    }
};

TEST_F(SystemIo, FileReadByteForByteWhateverItHolds) {
    const std::string bytes = std::string("0008F5B4\r\n00000102\x1a\n\0\xff\xc2\x9b end", 29);
    InputFile input(File("bytes.txt", bytes));
    ASSERT_TRUE(input.IsOpen());
    EXPECT_EQ(ReadAll(input), bytes);  // no CR LF folding, no end at Ctrl+Z
    EXPECT_FALSE(input.WouldWait());
}

TEST_F(SystemIo, FileWithANameInAnyLanguage) {
    for (const std::string name : {"Bögen–日本 1.txt", "ελληνικά.log", "emoji 😀.txt"}) {
        InputFile input(File(name, "0008F5B4 " + name));
        ASSERT_TRUE(input.IsOpen()) << name;
        EXPECT_EQ(ReadAll(input), "0008F5B4 " + name);
    }
}

TEST_F(SystemIo, FileWithALongName) {
    // Past 260 characters, which Windows opens only by the full name behind its \\?\ prefix;
    // the name is given with forward slashes and a ".." to be resolved on the way.
    std::string folder = "long";
    while (folder.size() < 300) {
        folder += "/folder-name-of-forty-characters-" + std::to_string(folder.size());
    }
    Folder(folder);
    const std::string name = File(folder + "/Bögen.txt", "0008F5B4 long");
    const std::string last = folder.substr(folder.rfind('/') + 1);
    const std::string winding = Folder(folder) + "/../" + last + "/Bögen.txt";
    for (const std::string& given : {name, winding}) {
        ASSERT_GT(given.size(), 300u);
        InputFile input(given);
        ASSERT_TRUE(input.IsOpen()) << given << ": " << input.Error();
        EXPECT_EQ(ReadAll(input), "0008F5B4 long");
    }
}

#ifdef _WIN32
TEST(OpenableName, LongNamesGoFullBehindThePrefixOthersStay) {
    const std::u16string segment(60, u'x');
    const std::u16string deep =
        segment + u"/" + segment + u"/" + segment + u"/" + segment + u"/../" + segment + u"/d.txt";
    const std::u16string unc = u"\\\\server\\share\\" + deep;
    const std::u16string prefixed = u"\\\\?\\C:\\" + deep;

    EXPECT_EQ(sysio::OpenableName(u"short.txt"), u"short.txt");
    EXPECT_EQ(sysio::OpenableName(prefixed), prefixed);  // already past the limit's reach

    const std::u16string relative = sysio::OpenableName(deep);
    EXPECT_TRUE(relative.starts_with(u"\\\\?\\")) << utf8::FromUtf16(relative);
    EXPECT_EQ(relative.find(u'/'), std::u16string::npos);  // behind the prefix nothing is turned
    EXPECT_EQ(relative.find(u".."), std::u16string::npos);
    EXPECT_TRUE(relative.ends_with(u"\\" + segment + u"\\" + segment + u"\\d.txt"));

    const std::u16string shared = sysio::OpenableName(unc);
    EXPECT_TRUE(shared.starts_with(u"\\\\?\\UNC\\server\\share\\")) << utf8::FromUtf16(shared);
}

TEST_F(SystemIo, LongNameRuleCountsTheFullPath) {
    // A folder whose full path is 20 characters short of the limit; in it, relative names of 18
    // and 19 characters end just below the limit and at it.
    const std::u16string root = root_.u16string();
    const fs::path deep =
        root + u"\\" + std::u16string(sysio::kLongName - 20 - root.size() - 1, u'd');
    fs::create_directory(deep);
    const fs::path before = fs::current_path();
    fs::current_path(deep);
    const std::u16string below(18, u'b');
    const std::u16string at(19, u'a');
    const std::u16string inDeep = sysio::OpenableName(at);
    const std::u16string belowInDeep = sysio::OpenableName(below);
    fs::current_path(before);

    EXPECT_EQ(belowInDeep, below);
    EXPECT_EQ(inDeep, u"\\\\?\\" + deep.u16string() + u"\\" + at) << utf8::FromUtf16(inDeep);
    const std::u16string absolute = u"C:\\" + std::u16string(sysio::kLongName - 3, u'x');
    EXPECT_EQ(sysio::OpenableName(absolute.substr(0, sysio::kLongName - 1)),
              absolute.substr(0, sysio::kLongName - 1));
    EXPECT_EQ(sysio::OpenableName(absolute), u"\\\\?\\" + absolute);
}

TEST(Console, ACharacterSplitBetweenTwoReadsArrivesWhole) {
    std::u16string carried;
    EXPECT_EQ(sysio::ConsoleInputText(u"A\xD83D", carried), "A");
    EXPECT_EQ(carried, u"\xD83D");
    const std::u16string secondHalfThenB{0xDE00, u'B'};
    EXPECT_EQ(sysio::ConsoleInputText(secondHalfThenB, carried),
              "\xF0\x9F\x98\x80" + std::string("B"));
    EXPECT_TRUE(carried.empty());
}

TEST(Console, BatchesAreWrittenInBoundedPartsOfWholeCharacters) {
    const std::size_t limit = sysio::kConsoleWriteUnits;
    const std::u16string split = std::u16string(limit - 1, u'x') + u"\U0001F600";
    EXPECT_EQ(sysio::ConsoleWriteSize(std::u16string(3 * limit + 1, u'x')), limit);
    EXPECT_EQ(sysio::ConsoleWriteSize(split), limit - 1);
    EXPECT_EQ(sysio::ConsoleWriteSize(split.substr(limit - 1)), 2u);
    EXPECT_EQ(sysio::ConsoleWriteSize(u"short"), 5u);
}
#endif

struct FailureCase {
    const char* name;
    int error;
    const char* text;
};

TEST_F(SystemIo, MissingFileAndFolderToldAsOnLinux) {
    InputFile missing(Folder("missing-here") + "/not-there.txt");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.Error(), ENOENT);

    // POSIX opens a folder and fails on the first read; Windows fails on the open. Either way
    // the input is told as a folder.
    InputFile folder(Folder("a-folder"));
    char block[16];
    if (folder.IsOpen()) {
        EXPECT_EQ(folder.Read(block, sizeof block), -1);
    }
    EXPECT_EQ(folder.Error(), EISDIR);
}

TEST_F(SystemIo, ErrorTextsAreTheLinuxOnes) {
    const FailureCase cases[] = {
        {"missing", ENOENT, "No such file or directory"},
        {"folder", EISDIR, "Is a directory"},
        {"denied", EACCES, "Permission denied"},
        {"full disk", ENOSPC, "No space left on device"},
        {"closed pipe", EPIPE, "Broken pipe"},
        {"device", EIO, "Input/output error"},
        {"not a folder", ENOTDIR, "Not a directory"},
    };
    for (const FailureCase& c : cases) {
        EXPECT_EQ(sysio::ErrorText(c.error), c.text) << c.name;
    }
}

TEST_F(SystemIo, PipeWaitsUntilSomethingArrivesAndEndsWhenItsWriterCloses) {
    Pipe pipe;
    ASSERT_NE(pipe.read, sysio::kNoHandle);
    EXPECT_TRUE(sysio::WouldWait(pipe.read));
    int error = 0;
    EXPECT_EQ(sysio::Write(pipe.write, "AB\n", 3, error), 3);
    EXPECT_FALSE(sysio::WouldWait(pipe.read));
    char block[8];
    EXPECT_EQ(sysio::Read(pipe.read, block, sizeof block, error), 3);
    EXPECT_TRUE(sysio::WouldWait(pipe.read));
    pipe.CloseWrite();
    EXPECT_FALSE(sysio::WouldWait(pipe.read));
    EXPECT_EQ(sysio::Read(pipe.read, block, sizeof block, error), 0);
}

TEST_F(SystemIo, WriteToAPipeWithoutReaderIsABrokenPipe) {
    sysio::PrepareProcess();  // as the program does first: no SIGPIPE on Linux
    Pipe pipe;
    pipe.CloseRead();
    int error = 0;
    EXPECT_EQ(sysio::Write(pipe.write, "record\n", 7, error), -1);
    EXPECT_EQ(error, EPIPE);
}

TEST_F(SystemIo, FilesAndPipesAreNoTerminal) {
    Pipe pipe;
    EXPECT_FALSE(sysio::IsTerminal(pipe.read));
    EXPECT_FALSE(sysio::IsTerminal(pipe.write));
    const sysio::Opened file = sysio::OpenForReading(File("plain.txt", "x"));
    ASSERT_NE(file.handle, sysio::kNoHandle);
    EXPECT_FALSE(sysio::IsTerminal(file.handle));
    sysio::Close(file.handle);
}

}  // namespace
}  // namespace quillmark::cli
