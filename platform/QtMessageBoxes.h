// SPDX-License-Identifier: MIT
#pragma once
#include "platform/MessageBoxes.h"

namespace quillmark::platform {

// QMessageBox with the application title, no icon, OK only, the text shown as plain text.
class QtMessageBoxes final : public MessageBoxes {
public:
    explicit QtMessageBoxes(QString title);
    void show(QWidget* owner, const QString& text) override;

private:
    QString title_;
};

}  // namespace quillmark::platform
