// SPDX-License-Identifier: MIT
#pragma once
// A main window over recording fakes, with the lookups every window test needs.
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <array>

#include "decoder/field_catalogue.h"
#include "tests/support/Fixture.h"
#include "tests/support/PlatformFakes.h"
#include "tests/support/WorkedExample.h"
#include "ui/main/InputBox.h"
#include "ui/main/frmMain.h"

namespace quillmark::test {

// The name of a field's result label: "lbl" + its key + "Data".
inline QString resultLabelName(const FieldRow& row) {
    return QStringLiteral("lbl") + QString::fromLatin1(row.key.data(), row.key.size()) +
           QStringLiteral("Data");
}

inline QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline const QString kWorkedExample = fromView(sample::kWorkedExample);

inline QStringList resultsOf(const std::vector<std::string>& texts) {
    QStringList results;
    for (const std::string& text : texts) results << fromView(text);
    return results;
}

inline QStringList workedExampleResults() { return resultsOf(sample::FixtureTexts("result")); }

struct MainWindowHarness {
    explicit MainWindowHarness(platform::AppInfo app = {QStringLiteral("Quillmark"), 2, 0, 0}) {
        window = new ui::frmMain(
            ui::MainWindowServices{clipboard, messages, settings, windows, std::move(app),
                                   [this](QWidget* owner) { aboutOwners.push_back(owner); },
                                   [this](const QString& address) { openedAddresses << address; }});
    }
    ~MainWindowHarness() { delete window.data(); }
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    // Shown and active, with the focus in the input box: what shortcuts need.
    [[nodiscard]] bool showActive() {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) return false;
        input()->setFocus();
        return input()->hasFocus();
    }

    template <class T>
    T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QLabel* label(const char* name) const { return child<QLabel>(name); }
    QLabel* result(Field field) const {
        return window->findChild<QLabel*>(resultLabelName(RowOf(field)));
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    QAction* action(const char* name) const { return child<QAction>(name); }
    ui::InputBox* input() const { return child<ui::InputBox>("txtDebugData"); }

    void click(const char* buttonName) { QTest::mouseClick(button(buttonName), Qt::LeftButton); }
    void choose(const char* actionName) { action(actionName)->trigger(); }

    QString text() const { return input()->rawText(); }
    void setText(const QString& text) { input()->setPlainText(text); }
    // Moves the caret to the end with nothing selected.
    void caretToEnd() { input()->moveCursor(QTextCursor::End); }

    QStringList results() const {
        QStringList texts;
        for (const FieldRow& row : kFields) texts << result(row.field)->text();
        return texts;
    }
    QColor background(const char* name) const {
        return label(name)->palette().color(QPalette::Window);
    }

    FakeClipboard clipboard;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeWindowList windows;
    std::vector<QPointer<QWidget>> aboutOwners;
    QStringList openedAddresses;
    QPointer<ui::frmMain> window;
};

inline const QColor kWhite(255, 255, 255);
inline const QColor kYellow(255, 255, 0);

}  // namespace quillmark::test
