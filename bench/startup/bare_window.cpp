// A bare Qt Widgets program that shows one frameless window as large as the splash window.
// With QUILLMARK_EXIT_ON_FIRST_PAINT set it ends once the window is on the screen, exactly
// as the window program does, so both start-ups can be timed as whole processes.
#include <QApplication>
#include <QWidget>

#include "ui/shell/FirstPaintExit.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    quillmark::ui::FirstPaintExit::arm();
    QWidget window(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
    window.setFixedSize(483, 192);
    window.show();
    return QApplication::exec();
}
