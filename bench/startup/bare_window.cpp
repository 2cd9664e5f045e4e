// SPDX-License-Identifier: MIT
// The yardstick for the window program's start-up: a bare Qt Widgets program that shows one
// QLabel("hello") resized to 586 x 423. With QUILLMARK_EXIT_ON_FIRST_PAINT set it ends once the
// window is on the screen, exactly as the window program does, so both start-ups can be timed
// as whole processes.
#include <QApplication>
#include <QLabel>

#include "ui/shell/FirstPaintExit.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quillmark::ui::FirstPaintExit::arm();
    QLabel label(QStringLiteral("hello"));
    label.resize(586, 423);
    label.show();
    return QApplication::exec();
}
