// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

class QLabel;

namespace quillmark::ui {

// Makes a label that shows a value read as a named field to screen readers: its accessible
// name is what it is (name, usually the caption beside it), its value and its text are what
// it shows, and its description is exactly the accessibleDescription set on it, never its
// tooltip.
void makeAccessibleField(QLabel* label, const QString& name);

}  // namespace quillmark::ui
