// SPDX-License-Identifier: MIT
// The Web menu's opener in a build without the web browser: it says so and opens nothing.
#include "platform/MessageBoxes.h"
#include "ui/shell/browser/OpenBrowser.h"

namespace quillmark::ui {

void prepareBrowserEngine() {}

void openBrowserWindow(const QString&, platform::WindowList&, platform::MessageBoxes& messages) {
    messages.show(nullptr,
                  QStringLiteral("The web browser is not part of this build of Quillmark."));
}

}  // namespace quillmark::ui
