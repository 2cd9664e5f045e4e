// SPDX-License-Identifier: MIT
#include "ui/common/FieldAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

namespace quillmark::ui {

namespace {

constexpr const char* kFieldProperty = "quillmarkAccessibleField";

// A label does not offer its text as text to assistive tools once it has a name of its own;
// this one offers its shown value both as value and as read-only text.
class FieldAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit FieldAccessible(QLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: return widget()->accessibleName();
            case QAccessible::Value: return shown();
            case QAccessible::Description: return widget()->accessibleDescription();
            default: return QAccessibleWidget::text(t);
        }
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // Read-only text without caret or selection.
    QString text(int startOffset, int endOffset) const override {
        return shown().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(shown().size()); }
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    QString shown() const { return static_cast<const QLabel*>(widget())->text(); }
};

QAccessibleInterface* fieldFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QLabel") || !object ||
        !object->property(kFieldProperty).toBool())
        return nullptr;
    return new FieldAccessible(static_cast<QLabel*>(object));
}

}  // namespace

void makeAccessibleField(QLabel* label, const QString& name) {
    static const bool factoryInstalled = (QAccessible::installFactory(fieldFactory), true);
    (void)factoryInstalled;
    label->setProperty(kFieldProperty, true);
    label->setAccessibleName(name);
}

}  // namespace quillmark::ui
