// SPDX-License-Identifier: MIT
// The window program quillmark: answers --version and --help, makes sure there is a display,
// then starts the windows from the start-up routine.
#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AppInfo.h"
#include "platform/QtClipboard.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtWindowList.h"
#include "ui/main/MainWindowServices.h"
#include "ui/shell/AnswerBeforeStart.h"
#include "ui/shell/FirstPaintExit.h"
#include "ui/shell/Module1.h"
#include "ui/shell/StandardIconsOnDemand.h"
#include "ui/shell/browser/OpenBrowser.h"
#include "ui/shell/frmAbout.h"

namespace {

const char* environmentValue(const char* name) { return std::getenv(name); }

// The toolkit opens the display as the application object is made, and ends the program with an
// abort when it cannot. While it does so, its messages are held back: a fatal one becomes the
// program's own word on the display and exit code 1; the others are passed on afterwards.
class DisplayOpening {
public:
    DisplayOpening() { previous_ = qInstallMessageHandler(&DisplayOpening::hold); }
    ~DisplayOpening() {
        qInstallMessageHandler(previous_);
        for (const Held& message : held_) {
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            if (previous_) previous_(message.type, context, message.text);
        }
        held_.clear();
    }
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtFatalMsg) {
            const std::string message = quillmark::ui::displayUnreachableMessage(environmentValue);
            std::fwrite(message.data(), 1, message.size(), stderr);
            std::fflush(nullptr);
            std::_Exit(1);
        }
        held_.push_back({type, QByteArray(context.category), text});
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::vector<Held> held_;
};

// What was written to standard output must have arrived: a full disk or a closed pipe is an
// error, as for any command-line tool.
int checkedOutput(int exitCode) {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return exitCode;
    const int error = errno;
    std::fprintf(stderr, "quillmark: write error: %s\n", std::strerror(error));
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace quillmark;

    const std::vector<std::string_view> arguments(argv, argv + argc);
    const auto writeTo = [](std::FILE* stream) {
        return
            [stream](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stream); };
    };
    if (const auto exitCode =
            ui::answerBeforeStart(arguments, environmentValue, writeTo(stdout), writeTo(stderr))) {
        return checkedOutput(*exitCode);
    }

    ui::prepareBrowserEngine();
    auto displayOpening = std::make_unique<DisplayOpening>();
    QApplication application(argc, argv);
    displayOpening.reset();
    const platform::AppInfo app = platform::currentAppInfo();
    QApplication::setOrganizationName(app.title);
    QApplication::setApplicationName(app.title);
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(app.major).arg(app.minor).arg(app.revision));
    // Desktops match the running program to its launcher entry by this name.
    QApplication::setDesktopFileName(QStringLiteral("org.quillmark.Quillmark"));
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
        [&windows, &messages](const QString& address) {
            ui::openBrowserWindow(address, windows, messages);
        },
    };

    const ui::Module1::StartedWindows started = ui::Module1::Main(services);

    const int exitCode = QApplication::exec();
    // Windows still open when the program ends (Quit) go before the adapters they use.
    for (int i = windows.count() - 1; i >= 0; --i) delete windows.at(i);
    delete started.main.data();
    // Qt's Wayland plugin (6.4) can wait for ever for its event thread while the application
    // object is destroyed (that thread waits on a read which is never finished), and the
    // program would then never end. Everything it keeps is written by now (each setting is
    // synced as it is written, and a Wayland clipboard goes with the program anyway), so on
    // Wayland the process ends here, without that teardown.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
