// SPDX-License-Identifier: MIT
// A bare Qt Widgets program that shows one frameless window as large as the splash window:
// empty, or with "--label" one line of text in the default font (drawing any text at all
// loads the font machinery, which the empty window never does). With
// QUILLMARK_EXIT_ON_FIRST_PAINT set it ends once the window is on the screen, exactly as the
// window program does, so both start-ups can be timed as whole processes.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

#include "ui/shell/FirstPaintExit.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quillmark::ui::FirstPaintExit::arm();
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setFixedSize(483, 192);
    if (argc > 1 && std::strcmp(argv[1], "--label") == 0) {
        auto* label = new QLabel(QStringLiteral("Quillmark"), &window);
        label->setGeometry(16, 16, 300, 40);
    }
    window.show();
    return QApplication::exec();
}
