#include "platform/QtMessageBoxes.h"

#include <QMessageBox>

namespace quillmark::platform {

QtMessageBoxes::QtMessageBoxes(QString title) : title_(std::move(title)) {}

void QtMessageBoxes::show(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title_, QString(), QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    // Set before the text: the text may come from the clipboard and must never render as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

}  // namespace quillmark::platform
