// SPDX-License-Identifier: MIT
// The Web menu's opener in a build without the web browser: it says so and opens nothing.
#include <QMessageBox>

#include "quillmark/version.h"
#include "ui/shell/browser/OpenBrowser.h"

namespace quillmark::ui {

void PrepareBrowserEngine() {}

void OpenBrowserWindow(const QString&, platform::WindowList&) {
    QMessageBox box;
    box.setWindowTitle(QString::fromUtf8(version::kTitle));
    box.setIcon(QMessageBox::NoIcon);
    box.setText(QStringLiteral("The web browser is not part of this build of Quillmark."));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

}  // namespace quillmark::ui
