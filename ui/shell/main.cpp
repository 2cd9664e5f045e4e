// SPDX-License-Identifier: MIT
// The window program quillmark: answers --version and --help, makes sure there is a display,
// then starts the windows from the start-up routine.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/QtClipboard.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtWindowList.h"
#include "resources/ProgramIcon.h"
#include "ui/main/MainWindowServices.h"
#include "ui/shell/AnswerBeforeStart.h"
#include "ui/shell/FirstPaintExit.h"
#include "ui/shell/Module1.h"
#include "ui/shell/StandardIconsOnDemand.h"
#include "ui/shell/browser/OpenBrowser.h"
#include "ui/shell/frmAbout.h"

int main(int argc, char* argv[]) {
    using namespace quillmark;

    const std::vector<std::string_view> arguments(argv, argv + argc);
    const auto writeTo = [](std::FILE* stream) {
        return [stream](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); };
    };
    if (const auto exitCode = ui::answerBeforeStart(
            arguments, [](const char* name) { return std::getenv(name); }, writeTo(stdout),
            writeTo(stderr))) {
        return *exitCode;
    }

    ui::PrepareBrowserEngine();
    QApplication application(argc, argv);
    const platform::AppInfo app = platform::currentAppInfo();
    QApplication::setOrganizationName(app.title);
    QApplication::setApplicationName(app.title);
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(app.major).arg(app.minor).arg(app.revision));
    // Desktops match the running program to its launcher entry by this name.
    QApplication::setDesktopFileName(QStringLiteral("org.quillmark.Quillmark"));
    QApplication::setWindowIcon(resources::programIcon());
    ui::useStandardIconsOnDemand();
    ui::FirstPaintExit::arm();

    // The platform adapters outlive every window.
    platform::QtClipboard clipboard;
    platform::QtMessageBoxes messages(app.title);
    platform::QtSettingsStore settings;
    platform::QtWindowList windows;
    const ui::MainWindowServices services{
        clipboard,
        messages,
        settings,
        windows,
        app,
        [&app, &windows](QWidget* owner) { ui::showAbout(app, windows, owner); },
        [&windows](const QString& address) { ui::OpenBrowserWindow(address, windows); },
    };

    const ui::Module1::StartedWindows started = ui::Module1::Main(services);

    const int exitCode = QApplication::exec();
    // Windows still open when the program ends (Quit) go before the adapters they use.
    for (int i = windows.count() - 1; i >= 0; --i) delete windows.at(i);
    delete started.main.data();
    return exitCode;
}
