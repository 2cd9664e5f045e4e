// SPDX-License-Identifier: MIT
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmark::ui {

// Reads an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// Receives text for standard output or standard error. The window program writes it with C
// stdio: C++ streams would set up their locale machinery at every start for these rare texts.
using TextSink = std::function<void(std::string_view text)>;

// What the window program answers before any window or toolkit exists: "--version",
// "--help", and the lack of a display. Returns the exit code to end with, or nullopt to go on
// and start the windows. Every other argument is left alone for the toolkit and the browser
// engine, whose own options may reach the program.
std::optional<int> answerBeforeStart(const std::vector<std::string_view>& arguments,
                                     const EnvironmentLookup& environment, const TextSink& out,
                                     const TextSink& err);

// What the window program says when the display it was given cannot be opened (an X server
// that is not running, a platform that cannot start): which display, and what to run instead.
std::string displayUnreachableMessage(const EnvironmentLookup& environment);

}  // namespace quillmark::ui
