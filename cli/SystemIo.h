// SPDX-License-Identifier: MIT
#pragma once
// The few calls of quillmark-decode that differ between POSIX and Windows: opening, reading and
// writing files and standard streams, asking whether a stream is a terminal, and the text of an
// error. SystemIoPosix.cpp and SystemIoWindows.cpp implement it; the build takes one of them.
//
// Errors are errno values on both systems (the Windows side translates its own codes), so that
// both programs tell the same failure in the same words.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillmark::cli::sysio {

// A file descriptor on POSIX, a HANDLE on Windows.
using Handle = std::intptr_t;
inline constexpr Handle kNoHandle = -1;

inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// The handle behind a C runtime file descriptor, such as kStandardOutput. On Windows this also
// puts the descriptor in binary mode, so that nothing turns a line feed into CR LF behind the
// program's back.
Handle HandleOfDescriptor(int fd);

struct Opened {
    Handle handle = kNoHandle;
    int error = 0;  // errno of the failure when handle is kNoHandle
};

// Opens a file by its UTF-8 name for reading from the start to the end.
Opened OpenForReading(const std::string& name);
void Close(Handle handle);

// The number of bytes read, 0 at the end, -1 on failure with `error` set.
long Read(Handle handle, char* buffer, std::size_t capacity, int& error);
// True when a read would have to wait for more input, as on a pipe whose writer is slow.
bool WouldWait(Handle handle);

// Writes part of the bytes: how many, or -1 on failure with `error` set. A reader that went away
// (a closed pipe) is EPIPE on both systems.
long Write(Handle handle, const char* bytes, std::size_t size, int& error);

// True when the handle is a terminal (a console on Windows) that a person reads.
bool IsTerminal(Handle handle);

// The text of an errno value, as the C library of a Linux system words it.
std::string ErrorText(int error);

#ifdef _WIN32
// A name Windows can open whatever its length. Paths of MAX_PATH characters and more fail unless
// the system allows long paths (and a folder's already at MAX_PATH - 12), so a name whose full
// path is kLongName characters or more becomes that full path behind the prefix \\?\ which
// lifts the limit. A name already in that form, and every other one, stays as given.
inline constexpr std::size_t kLongName = 248;
std::u16string OpenableName(const std::u16string& name);

// Console input as UTF-8, read by read: the units of one read after the first half of a
// character that the read before ended in (`carried`); a read that ends in the first half of a
// character leaves it in `carried` for the next.
std::string ConsoleInputText(std::u16string_view units, std::u16string& carried);

// How many units of the text the next console write takes: at most kConsoleWriteUnits, and
// never the first half of a character without its second.
inline constexpr std::size_t kConsoleWriteUnits = 16384;
std::size_t ConsoleWriteSize(std::u16string_view text);
#endif

// Called once at the start of the program: a closed pipe then shows up as EPIPE on write rather
// than ending the program with a signal, as the output layer expects.
void PrepareProcess();

}  // namespace quillmark::cli::sysio
