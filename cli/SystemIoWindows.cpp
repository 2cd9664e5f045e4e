// SPDX-License-Identifier: MIT
// The Windows side of SystemIo.h: handles opened by their UTF-16 names, the console written in
// UTF-16, and Windows error codes told as the errno values the POSIX side gives for the same
// failure.
#include "cli/SystemIo.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "decoder/utf8.h"

namespace quillmark::cli::sysio {
namespace {

HANDLE AsHandle(Handle handle) { return reinterpret_cast<HANDLE>(handle); }

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

int ErrnoOf(DWORD code) {
    switch (code) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_BAD_PATHNAME: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return EACCES;
        case ERROR_DIRECTORY: return ENOTDIR;
        case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
        case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
        case ERROR_NOT_ENOUGH_MEMORY:
        case ERROR_OUTOFMEMORY: return ENOMEM;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:             // Windows: the reader closed the pipe
        case ERROR_PIPE_NOT_CONNECTED:  // Wine: the same over a POSIX pipe
            return EPIPE;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        case ERROR_INVALID_HANDLE: return EBADF;
        case ERROR_WRITE_PROTECT: return EROFS;
        default: return EIO;
    }
}

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// Console input converted to UTF-8 that did not fit the last buffer, and the first half of a
// character that the last read ended in.
std::string consolePending;
std::u16string consoleCarried;

// Console input arrives as UTF-16, a line at a time, and is handed on as UTF-8; Ctrl+Z at the
// start of a line ends it, as in every console program. (Not named ReadConsole: <windows.h>
// makes that name a macro of ReadConsoleA or ReadConsoleW.)
long ReadFromConsole(HANDLE handle, char* buffer, std::size_t capacity, int& error) {
    std::string& pending = consolePending;
    while (pending.empty()) {
        std::array<wchar_t, 4096> units{};
        DWORD count = 0;
        if (!ReadConsoleW(handle, units.data(), static_cast<DWORD>(units.size()), &count,
                          nullptr)) {
            error = ErrnoOf(GetLastError());
            return -1;
        }
        std::u16string_view text(reinterpret_cast<const char16_t*>(units.data()), count);
        if (consoleCarried.empty() && !text.empty() && text.front() == u'\x1a') {
            return 0;
        }
        if (text.empty()) {
            pending = utf8::FromUtf16(consoleCarried);  // nothing more came: the half alone
            consoleCarried.clear();
            break;
        }
        pending = ConsoleInputText(text, consoleCarried);
    }
    const std::size_t size = pending.size() < capacity ? pending.size() : capacity;
    std::memcpy(buffer, pending.data(), size);
    pending.erase(0, size);
    return static_cast<long>(size);
}

// Text to the console goes as UTF-16, so that it shows whatever the console's code page; in
// calls of a bounded size, since a console takes megabytes in one call slowly or not at all.
// (Not named WriteConsole, for the same reason as ReadFromConsole.)
long WriteToConsole(HANDLE handle, const char* bytes, std::size_t size, int& error) {
    std::size_t whole = utf8::WholeCharsPrefix({bytes, size});
    if (whole == 0) {
        whole = size;  // only a broken character is left: shown as U+FFFD
    }
    const std::u16string text = utf8::ToUtf16({bytes, whole});
    for (std::size_t done = 0; done < text.size();) {
        const std::size_t part = ConsoleWriteSize(std::u16string_view(text).substr(done));
        DWORD written = 0;
        if (!WriteConsoleW(handle, Wide(text) + done, static_cast<DWORD>(part), &written,
                           nullptr)) {
            error = ErrnoOf(GetLastError());
            return -1;
        }
        done += written;
    }
    return static_cast<long>(whole);
}

}  // namespace

static_assert(kLongName == MAX_PATH - 12);

std::string ConsoleInputText(std::u16string_view units, std::u16string& carried) {
    std::u16string text = std::move(carried);
    carried.clear();
    text.append(units);
    if (!text.empty() && utf8::IsHighSurrogate(text.back())) {
        carried.assign(1, text.back());
        text.pop_back();
    }
    return utf8::FromUtf16(text);
}

std::size_t ConsoleWriteSize(std::u16string_view text) {
    if (text.size() <= kConsoleWriteUnits) {
        return text.size();
    }
    return utf8::IsHighSurrogate(text[kConsoleWriteUnits - 1]) ? kConsoleWriteUnits - 1
                                                               : kConsoleWriteUnits;
}

std::u16string OpenableName(const std::u16string& name) {
    if (name.starts_with(u"\\\\?\\") || name.starts_with(u"\\\\.\\")) {
        return name;
    }
    const DWORD size = GetFullPathNameW(Wide(name), 0, nullptr, nullptr);
    if (size == 0) {
        return name;
    }
    std::u16string full(size, u'\0');
    const DWORD length =
        GetFullPathNameW(Wide(name), size, reinterpret_cast<wchar_t*>(full.data()), nullptr);
    if (length == 0 || length >= size) {
        return name;
    }
    full.resize(length);
    // The length that counts is the full path's: a short name in a deep folder is long.
    if (full.size() < kLongName) {
        return name;
    }
    if (full.starts_with(u"\\\\")) {  // \\server\share\... is written \\?\UNC\server\share\...
        return u"\\\\?\\UNC\\" + full.substr(2);
    }
    return u"\\\\?\\" + full;
}

Handle HandleOfDescriptor(int fd) {
    _setmode(fd, _O_BINARY);
    return static_cast<Handle>(_get_osfhandle(fd));
}

Opened OpenForReading(const std::string& name) {
    const std::u16string wide = OpenableName(utf8::ToUtf16(name));
    const HANDLE handle = CreateFileW(Wide(wide), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        return {reinterpret_cast<Handle>(handle), 0};
    }
    const DWORD code = GetLastError();
    // A folder cannot be opened as a file; POSIX opens it and fails on the first read.
    const DWORD attributes = GetFileAttributesW(Wide(wide));
    if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {kNoHandle, EISDIR};
    }
    return {kNoHandle, ErrnoOf(code)};
}

void Close(Handle handle) { CloseHandle(AsHandle(handle)); }

long Read(Handle handle, char* buffer, std::size_t capacity, int& error) {
    const HANDLE file = AsHandle(handle);
    if (IsConsole(file)) {
        return ReadFromConsole(file, buffer, capacity, error);
    }
    const DWORD chunk = capacity < 0x40000000 ? static_cast<DWORD>(capacity) : 0x40000000;
    DWORD count = 0;
    if (ReadFile(file, buffer, chunk, &count, nullptr)) {
        return static_cast<long>(count);
    }
    const DWORD code = GetLastError();
    if (code == ERROR_BROKEN_PIPE || code == ERROR_PIPE_NOT_CONNECTED || code == ERROR_HANDLE_EOF) {
        return 0;  // the writer closed its end: the input is complete
    }
    error = ErrnoOf(code);
    return -1;
}

bool WouldWait(Handle handle) {
    const HANDLE file = AsHandle(handle);
    switch (GetFileType(file)) {
        case FILE_TYPE_PIPE: {
            DWORD available = 0;
            // A pipe whose writer has gone cannot be peeked: the next read ends the input at once.
            return PeekNamedPipe(file, nullptr, 0, nullptr, &available, nullptr) && available == 0;
        }
        // A console hands over what a person typed a line at a time: once that line is handed
        // on, the next read waits for the person. (Whether the handle is signalled says little:
        // key releases and focus events stay in its buffer after the line is read.)
        case FILE_TYPE_CHAR: return IsConsole(file) && consolePending.empty();
        default: return false;
    }
}

long Write(Handle handle, const char* bytes, std::size_t size, int& error) {
    const HANDLE file = AsHandle(handle);
    if (IsConsole(file)) {
        return WriteToConsole(file, bytes, size, error);
    }
    const DWORD chunk = size < 0x40000000 ? static_cast<DWORD>(size) : 0x40000000;
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr)) {
        error = ErrnoOf(GetLastError());
        return -1;
    }
    return static_cast<long>(written);
}

bool IsTerminal(Handle handle) { return IsConsole(AsHandle(handle)); }

std::string ErrorText(int error) {
    // The texts of a Linux C library for the errors this side gives, so that both programs say
    // the same; the Windows C library words some of them differently.
    switch (error) {
        case ENOENT: return "No such file or directory";
        case EACCES: return "Permission denied";
        case EISDIR: return "Is a directory";
        case ENOTDIR: return "Not a directory";
        case ENAMETOOLONG: return "File name too long";
        case EMFILE: return "Too many open files";
        case ENOMEM: return "Cannot allocate memory";
        case EPIPE: return "Broken pipe";
        case ENOSPC: return "No space left on device";
        case EBADF: return "Bad file descriptor";
        case EROFS: return "Read-only file system";
        case EIO: return "Input/output error";
        default: return std::strerror(error);
    }
}

void PrepareProcess() {
    // Windows has no SIGPIPE: a write to a closed pipe fails with ERROR_NO_DATA, told as EPIPE.
    // Error dialogs of the system would stop a script; a failure is told on standard error.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // The help and version texts go through the C runtime: no CR before their line feeds.
    for (const int fd : {_fileno(stdin), _fileno(stdout), _fileno(stderr)}) {
        _setmode(fd, _O_BINARY);
    }
}

}  // namespace quillmark::cli::sysio
