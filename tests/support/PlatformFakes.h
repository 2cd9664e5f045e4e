// SPDX-License-Identifier: MIT
#pragma once
// Recording fakes of the platform seams for window tests.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
#include <tuple>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsStore.h"
#include "platform/WindowList.h"

namespace quillmark::test {

class FakeClipboard : public platform::Clipboard {
public:
    bool clear() override {
        calls << "clear";
        if (failClear) return false;
        content = QString();
        return true;
    }
    bool setText(const QString& text) override {
        calls << "setText";
        if (failWrite) return false;
        content = text;
        return true;
    }
    std::optional<QString> text() override {
        calls << "text";
        if (failRead) return std::nullopt;
        return content;
    }

    QString content;
    QStringList calls;
    bool failClear = false;
    bool failWrite = false;
    bool failRead = false;
};

class FakeMessageBoxes : public platform::MessageBoxes {
public:
    void show(QWidget* owner, const QString& text) override {
        shown << text;
        owners.push_back(owner);
    }
    QStringList shown;
    std::vector<QPointer<QWidget>> owners;
};

class FakeSettingsStore : public platform::SettingsStore {
public:
    bool write(const QString& section, const QString& key, const QString& value) override {
        writes.emplace_back(section, key, value);
        return !failWrites;
    }
    std::vector<std::tuple<QString, QString, QString>> writes;
    bool failWrites = false;
};

// Keeps the windows in opening order like the real list; closing is recorded and then done.
class FakeWindowList : public platform::WindowList {
public:
    void add(QWidget* window) override {
        windows.push_back(window);
        // The context object ends the connection with the list, whichever goes first.
        QObject::connect(window, &QObject::destroyed, &context_,
                         [this, window] { forget(window); });
    }
    int count() const override { return static_cast<int>(windows.size()); }
    QWidget* at(int index) const override {
        if (index < 0 || index >= count()) return nullptr;
        return windows.at(static_cast<size_t>(index));
    }
    void close(int index) override {
        QWidget* w = at(index);
        if (!w) return;
        closed << w->objectName();
        w->close();
    }
    void endProgram() override { ++endProgramCalls; }

    std::vector<QWidget*> windows;
    QStringList closed;  // objectName of each window closed, in order
    int endProgramCalls = 0;

private:
    void forget(QWidget* window) { std::erase(windows, window); }
    QObject context_;
};

}  // namespace quillmark::test
