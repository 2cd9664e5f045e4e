// SPDX-License-Identifier: MIT
#include "ui/shell/Module1.h"

#include "platform/WindowList.h"

namespace quillmark::ui::Module1 {

StartedWindows Main(const MainWindowServices& services) {
    StartedWindows started;
    started.splash = new frmSplash(services.app);
    services.windows.add(started.splash);

    // The main window's load step enters it in the window list, after the splash.
    started.main = new frmMain(services);

    // Hand-over: the splash unloads itself (click or Timer1); only after it has been
    // destroyed, timer and all, does the main window appear, hence the queued call. A
    // destroyed splash cannot hand over a second time.
    QObject::connect(started.splash, &QObject::destroyed, started.main, &QWidget::show,
                     Qt::QueuedConnection);

    started.splash->show();
    return started;
}

}  // namespace quillmark::ui::Module1
