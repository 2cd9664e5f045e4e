// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

class QWidget;

namespace quillmark::platform {

// Modal message boxes: the text as plain text, one OK button, no icon, the application title
// as the box's title. Returns when the user closes the box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual void show(QWidget* owner, const QString& text) = 0;
};

}  // namespace quillmark::platform
