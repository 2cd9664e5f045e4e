// SPDX-License-Identifier: MIT
#include "tests/cli/DecodeProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <sys/resource.h>

extern char** environ;

namespace quillmark::cli::test {
namespace {

const std::filesystem::path& ScratchRoot() {
    static const std::filesystem::path root = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmark-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder");
        }
        return std::filesystem::path(pattern);
    }();
    static const struct Cleanup {
        ~Cleanup() {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        }
    } cleanup;
    return root;
}

int OpenOrThrow(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0) {
        throw std::runtime_error("cannot open " + path);
    }
    return fd;
}

}  // namespace

std::string DecodeProgram() {
    const char* chosen = std::getenv("QUILLMARK_DECODE");
    return chosen != nullptr && *chosen != '\0' ? chosen : QUILLMARK_DECODE_PROGRAM;
}

namespace {

// The program and its arguments, and the argument vector exec takes over them.
std::vector<std::string> CommandWords(const std::vector<std::string>& args) {
    std::vector<std::string> words{DecodeProgram()};
    words.insert(words.end(), args.begin(), args.end());
    return words;
}

std::vector<char*> Argv(std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

int SpawnDecode(const std::vector<std::string>& args, int in, int out, int err) {
    std::vector<std::string> words = CommandWords(args);
    std::vector<char*> argv = Argv(words);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    // The program starts with the default SIGPIPE action, as from a shell, whatever this test does.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start " + words.front());
    }
    return pid;
}

int WaitStatus(int pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

Outcome RunDecodeWithMemoryLimit(std::size_t kib, const std::vector<std::string>& args) {
    static int runs = 0;
    const std::string tag = std::to_string(++runs);
    const std::string outPath = ScratchFile("limited-out-" + tag, "");
    const std::string errPath = ScratchFile("limited-err-" + tag, "");
    std::vector<std::string> words = CommandWords(args);
    std::vector<char*> argv = Argv(words);
    const int out = OpenOrThrow(outPath, O_WRONLY);
    const int err = OpenOrThrow(errPath, O_WRONLY);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit limit{kib * 1024, kib * 1024};
        ::setrlimit(RLIMIT_AS, &limit);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    Outcome outcome;
    outcome.status = WaitStatus(pid);
    ::close(out);
    ::close(err);
    outcome.out = ReadWholeFile(outPath);
    outcome.err = ReadWholeFile(errPath);
    return outcome;
}

Outcome RunDecode(const std::vector<std::string>& args, std::string_view input,
                  const std::string& outputPath) {
    static int runs = 0;
    const std::string tag = std::to_string(++runs);
    const std::string inPath = ScratchFile("stdin-" + tag, input);
    const std::string outPath = outputPath.empty() ? ScratchFile("stdout-" + tag, "") : outputPath;
    const std::string errPath = ScratchFile("stderr-" + tag, "");

    const int in = OpenOrThrow(inPath, O_RDONLY);
    const int out = OpenOrThrow(outPath, O_WRONLY);
    const int err = OpenOrThrow(errPath, O_WRONLY);
    Outcome outcome;
    outcome.status = WaitStatus(SpawnDecode(args, in, out, err));
    ::close(in);
    ::close(out);
    ::close(err);
    if (outputPath.empty()) {
        outcome.out = ReadWholeFile(outPath);
    }
    outcome.err = ReadWholeFile(errPath);
    return outcome;
}

std::string ScratchFile(const std::string& name, std::string_view content) {
    const std::filesystem::path path = ScratchRoot() / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path.string());
    }
    return path.string();
}

std::string ScratchDir(const std::string& name) {
    const std::filesystem::path path = ScratchRoot() / name;
    std::filesystem::create_directories(path);
    return path.string();
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace quillmark::cli::test
