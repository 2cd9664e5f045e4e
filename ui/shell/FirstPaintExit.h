// SPDX-License-Identifier: MIT
#pragma once
// Start-up measurement aid, shared by the window program and the bare comparison program:
// with QUILLMARK_EXIT_ON_FIRST_PAINT set in the environment, the process ends as soon as its
// first window has been painted and put on the screen, so that timing the whole process
// measures the start-up alone. Without the variable it does nothing.
#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace quillmark::ui {

inline constexpr const char* kExitOnFirstPaintVariable = "QUILLMARK_EXIT_ON_FIRST_PAINT";

class FirstPaintExit final : public QObject {
public:
    // Call once the application object exists and before any window is shown.
    static void arm() {
        if (qEnvironmentVariableIsEmpty(kExitOnFirstPaintVariable)) return;
        qApp->installEventFilter(new FirstPaintExit(qApp));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // The painted picture reaches the screen when this paint pass ends.
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    explicit FirstPaintExit(QObject* parent) : QObject(parent) {}
    bool seen_ = false;
};

}  // namespace quillmark::ui
