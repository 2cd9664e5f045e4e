// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <functional>

#include "platform/AppInfo.h"

class QWidget;

namespace quillmark::platform {
class Clipboard;
class MessageBoxes;
class SettingsStore;
class WindowList;
}  // namespace quillmark::platform

namespace quillmark::ui {

// What the main window needs from outside: the platform seams and the two windows the shell
// owns. Tests pass fakes.
struct MainWindowServices {
    platform::Clipboard& clipboard;
    platform::MessageBoxes& messages;
    platform::SettingsStore& settings;
    platform::WindowList& windows;
    platform::AppInfo app;
    // Help > About: shows the about box modal over owner and returns when it is closed.
    std::function<void(QWidget* owner)> showAbout;
    // Web menu: opens a new, independent browser window on the address.
    std::function<void(const QString& startingAddress)> openBrowser;
};

}  // namespace quillmark::ui
