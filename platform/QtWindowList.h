// SPDX-License-Identifier: MIT
#pragma once
#include <QList>
#include <QObject>
#include <QPointer>

#include "platform/WindowList.h"

namespace quillmark::platform {

// The program's windows in opening order; a window leaves the list when it is destroyed.
class QtWindowList final : public QObject, public WindowList {
    Q_OBJECT
public:
    explicit QtWindowList(QObject* parent = nullptr);
    void add(QWidget* window) override;
    int count() const override;
    QWidget* at(int index) const override;
    void close(int index) override;
    // Leaves the event loop at once: no window is closed, so no close processing runs.
    void endProgram() override;

private:
    void forget(QObject* window);
    QList<QPointer<QWidget>> windows_;
};

}  // namespace quillmark::platform
