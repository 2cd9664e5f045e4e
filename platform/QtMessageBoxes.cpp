// SPDX-License-Identifier: MIT
#include "platform/QtMessageBoxes.h"

#include <QMessageBox>

#include "platform/OwnTitleBar.h"

namespace quillmark::platform {

QtMessageBoxes::QtMessageBoxes(QString title) : title_(std::move(title)) {}

void QtMessageBoxes::show(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, QString(), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    // Set before the text: the text may come from the clipboard and must never render as markup.
    box.setTextFormat(Qt::PlainText);
    // A label draws CR as a glyph of its own; the lines of a report end in CR LF.
    box.setText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    useOwnTitleBar(&box);
    box.exec();
}

}  // namespace quillmark::platform
