// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace quillmark::platform {
class MessageBoxes;
class WindowList;
}  // namespace quillmark::platform

namespace quillmark::ui {

// Set in the environment, the browser engine's own start-up report reaches the terminal.
inline constexpr const char* kBrowserDiagnosticsVariable = "QUILLMARK_BROWSER_DIAGNOSTICS";

// Called by the program's main() before the application object exists: sets what the browser
// engine needs from the environment, without loading the engine or anything it draws with.
void prepareBrowserEngine();

// Opens a new, independent browser window on startingAddress and adds it to the window list.
// The browser engine is loaded on the first call; where it cannot be, a message says why.
void openBrowserWindow(const QString& startingAddress, platform::WindowList& windows,
                       platform::MessageBoxes& messages);

}  // namespace quillmark::ui
