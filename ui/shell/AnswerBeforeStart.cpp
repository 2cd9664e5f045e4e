// SPDX-License-Identifier: MIT
#include "ui/shell/AnswerBeforeStart.h"

#include <algorithm>
#include <string>

#include "quillmark/version.h"

namespace quillmark::ui {

namespace {

constexpr std::string_view kUsage =
    "Usage: quillmark [--help] [--version]\n"
    "\n"
    "Quillmark decodes the call register dump of a PBX BUG message. Paste the row of\n"
    "8-digit hex words into the window, press DeBug, and read every field by name.\n"
    "\n"
    "  --help       show this text and exit\n"
    "  --version    show the program version and exit\n"
    "\n"
    "Other options are passed on to the window toolkit.\n"
    "Without a display, run it as: xvfb-run -a quillmark\n"
    "The same decoder runs on the command line as: quillmark-decode\n";

constexpr std::string_view kNoDisplay =
    "quillmark: no display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).\n";

constexpr std::string_view kNoScreenAdvice =
    "Quillmark is a desktop program. Without a screen, run it under a virtual X server:\n"
    "    xvfb-run -a quillmark\n"
    "or decode call register dumps on the command line:\n"
    "    echo '0008F5B4 00000102 00001A48' | quillmark-decode\n";

constexpr std::string_view kVersionNotice = version::kCopyrightNotice;

bool isSet(const EnvironmentLookup& environment, const char* name) {
    const char* value = environment(name);
    return value && *value;
}

bool hasDisplay(const std::vector<std::string_view>& arguments,
                const EnvironmentLookup& environment) {
    // A platform named on the command line ("-platform offscreen") counts as a display.
    const bool platformArgument = std::ranges::any_of(
        arguments, [](std::string_view a) { return a == "-platform" || a == "--platform"; });
    return platformArgument || isSet(environment, "DISPLAY") ||
           isSet(environment, "WAYLAND_DISPLAY") || isSet(environment, "QT_QPA_PLATFORM");
}

}  // namespace

std::optional<int> answerBeforeStart(const std::vector<std::string_view>& arguments,
                                     const EnvironmentLookup& environment, const TextSink& out,
                                     const TextSink& err) {
    // The first argument is the program itself.
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--version") {
            out(std::string("quillmark ")
                    .append(version::kString)
                    .append("\n")
                    .append(kVersionNotice));
            return 0;
        }
        if (arguments[i] == "--help" || arguments[i] == "-h") {
            out(kUsage);
            return 0;
        }
    }
    if (!hasDisplay(arguments, environment)) {
        err(std::string(kNoDisplay).append(kNoScreenAdvice));
        return 1;
    }
    return std::nullopt;
}

std::string displayUnreachableMessage(const EnvironmentLookup& environment) {
    std::string display;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (isSet(environment, name))
            display.append(" ").append(name).append("=").append(environment(name));
    }
    return std::string("quillmark: cannot open the display (")
        .append(display.empty() ? "" : display.substr(1))
        .append(").\n")
        .append(kNoScreenAdvice);
}

}  // namespace quillmark::ui
