// SPDX-License-Identifier: MIT
#pragma once
#include <QPointer>

#include "ui/main/MainWindowServices.h"
#include "ui/main/frmMain.h"
#include "ui/shell/frmSplash.h"

namespace quillmark::ui::Module1 {

// The two windows of the start-up. The splash pointer turns null when the splash has gone;
// the main window belongs to the caller from here on.
struct StartedWindows {
    QPointer<frmSplash> splash;
    QPointer<frmMain> main;
};

// The start-up routine: loads the splash (its timer starts counting), loads the main window
// hidden, shows the splash and returns. The main window is shown once the splash is gone.
StartedWindows Main(const MainWindowServices& services);

}  // namespace quillmark::ui::Module1
