// SPDX-License-Identifier: MIT
#include "ui/shell/Module1.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include "platform/WindowList.h"
#include "resources/ProgramIcon.h"

namespace quillmark::ui::Module1 {

namespace {

// What the splash does not need and the main window does: the windows' program icon (which
// goes to the window system with every window, at every size) and the main window's controls.
void completeMainWindow(frmMain* main) {
    if (QApplication::windowIcon().isNull()) QApplication::setWindowIcon(resources::programIcon());
    main->completeControls();
}

// Waits for the splash's first paint, then completes the main window as soon as that picture
// has gone to the screen. Belongs to the main window, so goes with it.
class CompleteAfterFirstPaint final : public QObject {
public:
    explicit CompleteAfterFirstPaint(frmMain* main) : QObject(main), main_(main) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, main_, [main = main_] { completeMainWindow(main); });
        }
        return false;
    }

private:
    frmMain* main_;
};

}  // namespace

StartedWindows Main(const MainWindowServices& services) {
    StartedWindows started;
    started.splash = new frmSplash(services.app);
    services.windows.add(started.splash);

    // The main window's load step enters it in the window list, after the splash. Its
    // controls are built once the splash is on the screen, so the splash is not kept waiting.
    // The splash itself goes without the program icon: it has no title bar to show it in.
    started.main = new frmMain(services, nullptr, frmMain::Controls::Later);

    // Hand-over: the splash unloads itself (click or Timer1); only after it has been
    // destroyed, timer and all, does the main window appear, hence the queued call. A
    // destroyed splash cannot hand over a second time. A click before the controls were
    // built still shows the complete window.
    frmMain* const main = started.main;
    QObject::connect(
        started.splash, &QObject::destroyed, main,
        [main] {
            completeMainWindow(main);
            main->show();
        },
        Qt::QueuedConnection);

    started.splash->installEventFilter(new CompleteAfterFirstPaint(main));
    started.splash->show();
    return started;
}

}  // namespace quillmark::ui::Module1
