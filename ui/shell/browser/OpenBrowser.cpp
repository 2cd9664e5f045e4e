// SPDX-License-Identifier: MIT
#include "ui/shell/browser/OpenBrowser.h"

#include <unistd.h>

#include <QLoggingCategory>

#include "platform/MessageBoxes.h"
#include "platform/WindowList.h"
#include "ui/shell/browser/BrowserModule.h"
#include "ui/shell/browser/ChromiumFlags.h"
#include "ui/shell/browser/frmBrowser.h"

namespace quillmark::ui {

void prepareBrowserEngine() {
    // The engine's sandbox refuses to run as root (as on build servers); everywhere else it
    // stays on, and a setting the user made is left alone.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    // At every start the engine tells its OpenGL set-up and its start parameters; that stays off
    // the terminal unless asked for. Logging rules in QT_LOGGING_RULES still win over this one.
    if (!qEnvironmentVariableIsSet(kBrowserDiagnosticsVariable))
        QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));

    // Options given to the engine with blanks in their values arrive whole.
    if (qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")) {
        const QString flags = qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS");
        const QString joined = joinedChromiumFlags(flags);
        if (joined != flags) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", joined.toUtf8());
    }
}

void openBrowserWindow(const QString& startingAddress, platform::WindowList& windows,
                       platform::MessageBoxes& messages) {
    // The window shows at once; the engine's module and the engine itself, which take seconds
    // to load and start, come once it is on the screen. The message boxes outlive every window.
    auto* window = new frmBrowser([&messages] {
        QString error;
        platform::BrowserEngineFactory* factory = loadBrowserEngineFactory(&error);
        std::unique_ptr<platform::BrowserEngine> engine =
            factory ? factory->createEngine() : nullptr;
        if (!engine) {
            messages.show(
                nullptr,
                QStringLiteral("The web browser could not be started.\n\n%1").arg(error).trimmed());
        }
        return engine;
    });
    window->setStartingAddress(startingAddress);
    windows.add(window);
    window->show();
}

}  // namespace quillmark::ui
