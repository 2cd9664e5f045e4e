// SPDX-License-Identifier: MIT
#include "platform/QtWindowList.h"

#include <QCoreApplication>
#include <QWidget>

namespace quillmark::platform {

QtWindowList::QtWindowList(QObject* parent) : QObject(parent) {}

void QtWindowList::add(QWidget* window) {
    if (!window || windows_.contains(window)) return;
    windows_.append(window);
    connect(window, &QObject::destroyed, this, &QtWindowList::forget);
}

int QtWindowList::count() const { return static_cast<int>(windows_.size()); }

QWidget* QtWindowList::at(int index) const {
    if (index < 0 || index >= windows_.size()) return nullptr;
    return windows_.at(index);
}

void QtWindowList::close(int index) {
    if (QWidget* window = at(index)) window->close();
}

void QtWindowList::endProgram() { QCoreApplication::exit(0); }

void QtWindowList::forget(QObject* window) {
    windows_.removeIf([window](const QPointer<QWidget>& entry) {
        return entry.isNull() || static_cast<QObject*>(entry.data()) == window;
    });
}

}  // namespace quillmark::platform
