// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>
#include <QString>

namespace quillmark::ui {

// Shows the tooltips of the widgets it watches as the literal text they hold. The tooltip
// itself stays plain text; left alone, Qt would take a first line such as "<b>x</b>" (a word
// as typed) for markup and draw it bold.
class PlainToolTips final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What the tooltip window is given for a plain text: the text itself, or where Qt would
    // read it as markup, the same characters escaped so that they show as typed.
    static QString displayForm(const QString& plain);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace quillmark::ui
