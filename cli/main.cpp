// SPDX-License-Identifier: MIT
// quillmark-decode: decodes call register dumps of BUG messages as the Quillmark window does.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/DecodeRun.h"
#include "cli/ErrorStream.h"
#include "cli/SystemIo.h"
#include "decoder/utf8.h"

namespace {

int Decode(const std::vector<std::string>& args) {
    // A reader that goes away (`| head`) shows up as EPIPE on write and ends the run quietly.
    quillmark::cli::sysio::PrepareProcess();
    quillmark::cli::ErrorStream errors(quillmark::cli::sysio::kStandardError);
    std::streambuf* const previous = std::cerr.rdbuf(&errors);
    struct Restore {
        std::streambuf* previous;
        ~Restore() { std::cerr.rdbuf(previous); }
    } restore{previous};

    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    argv.push_back(nullptr);
    try {
        const quillmark::cli::CommandLine commandLine =
            quillmark::cli::ParseCommandLine(static_cast<int>(args.size()), argv.data());
        if (!commandLine.options) {
            return commandLine.exitStatus;
        }
        return quillmark::cli::RunDecode(*commandLine.options,
                                         quillmark::cli::sysio::kStandardOutput);
    } catch (const std::exception& error) {
        // Each input's own failures are reported where they happen; this is what is left, such
        // as memory running out before the first input. Never an abort with a core dump.
        std::cerr << quillmark::cli::kProgramName << ": " << error.what() << '\n';
        return 1;
    }
}

}  // namespace

#ifdef _WIN32
// Windows hands the command line over as UTF-16; inside, every name is UTF-8 as on Linux.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(quillmark::utf8::FromUtf16(reinterpret_cast<const char16_t*>(argv[i])));
    }
    return Decode(args);
}
#else
int main(int argc, char** argv) { return Decode(std::vector<std::string>(argv, argv + argc)); }
#endif
