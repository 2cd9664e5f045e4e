// SPDX-License-Identifier: MIT
// What the window program answers before it opens any window.
#include "quillmark/version.h"
#include "ui/shell/AnswerBeforeStart.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using quillmark::ui::answerBeforeStart;

namespace {

struct Outcome {
    std::optional<int> exitCode;
    std::string out;
    std::string err;
};

Outcome answer(std::vector<std::string_view> arguments,
               const std::map<std::string, std::string>& environment) {
    arguments.insert(arguments.begin(), "quillmark");
    Outcome outcome;
    const auto lookup = [&environment](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
    outcome.exitCode = answerBeforeStart(
        arguments, lookup, [&outcome](std::string_view text) { outcome.out.append(text); },
        [&outcome](std::string_view text) { outcome.err.append(text); });
    return outcome;
}

const std::map<std::string, std::string> kX11{{"DISPLAY", ":0"}};
const std::map<std::string, std::string> kNoScreen{};

const std::string kNoDisplayMessage =
    "quillmark: no display found (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set).\n"
    "Quillmark is a desktop program. Without a screen, run it under a virtual X server:\n"
    "    xvfb-run -a quillmark\n"
    "or decode call register dumps on the command line:\n"
    "    echo '0008F5B4 00000102 00001A48' | quillmark-decode\n";

}  // namespace

const std::string kVersionText = std::string("quillmark ") + quillmark::version::kString + "\n" +
                                 "Copyright (C) 2026 Ashgrove.\n"
                                 "License: MIT.\n";

TEST(Version, PrintsNameAndVersionWithoutADisplay) {
    const Outcome outcome = answer({"--version"}, kNoScreen);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, kVersionText);
    EXPECT_EQ(outcome.err, "");
}

TEST(Version, WinsOverOtherArguments) {
    const Outcome outcome = answer({"--no-sandbox", "--version", "--help"}, kX11);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, kVersionText);
}

TEST(Help, PrintsUsageWithoutADisplay) {
    for (std::string_view option : {"--help", "-h"}) {
        const Outcome outcome = answer({option}, kNoScreen);
        EXPECT_EQ(outcome.exitCode, 0) << option;
        EXPECT_TRUE(outcome.out.starts_with("Usage: quillmark [--help] [--version]\n")) << option;
        EXPECT_NE(outcome.out.find("xvfb-run -a quillmark"), std::string::npos);
        EXPECT_NE(outcome.out.find("quillmark-decode"), std::string::npos);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(Start, GoesOnWithADisplay) {
    const std::vector<std::map<std::string, std::string>> displays{
        {{"DISPLAY", ":99"}},
        {{"WAYLAND_DISPLAY", "wayland-0"}},
        {{"QT_QPA_PLATFORM", "offscreen"}},
    };
    for (const auto& environment : displays) {
        const Outcome outcome = answer({}, environment);
        EXPECT_EQ(outcome.exitCode, std::nullopt) << environment.begin()->first;
        EXPECT_EQ(outcome.out + outcome.err, "");
    }
}

TEST(Start, AcceptsEveryOtherArgumentSilently) {
    const Outcome outcome = answer({"--no-sandbox", "--disable-gpu", "--remote-debugging-port=9222",
                                    "-style", "fusion", "stray", "--", "--versions"},
                                   kX11);
    EXPECT_EQ(outcome.exitCode, std::nullopt);
    EXPECT_EQ(outcome.out + outcome.err, "");
}

TEST(Start, PlatformNamedOnTheCommandLineCountsAsADisplay) {
    for (std::string_view option : {"-platform", "--platform"}) {
        const Outcome outcome = answer({option, "offscreen"}, kNoScreen);
        EXPECT_EQ(outcome.exitCode, std::nullopt) << option;
    }
}

TEST(NoDisplay, SaysWhatToRunInsteadAndFails) {
    const std::vector<std::map<std::string, std::string>> withoutScreen{
        kNoScreen,
        {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
    };
    for (const auto& environment : withoutScreen) {
        const Outcome outcome = answer({"--no-sandbox"}, environment);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, kNoDisplayMessage);
    }
}

TEST(NoDisplay, UnreachableDisplayIsNamedWithTheSameAdvice) {
    const std::map<std::string, std::string> environment{{"DISPLAY", ":999"}};
    const auto lookup = [&environment](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second.c_str();
    };
    const std::string advice = kNoDisplayMessage.substr(kNoDisplayMessage.find('\n') + 1);
    EXPECT_EQ(quillmark::ui::displayUnreachableMessage(lookup),
              "quillmark: cannot open the display (DISPLAY=:999).\n" + advice);
}
