// SPDX-License-Identifier: MIT
#pragma once
#include <QFont>

namespace quillmark::ui {

// Tahoma where installed; otherwise a sans-serif face of similar width, so that texts laid
// out for Tahoma still fit their labels.
QFont tahomaFont(qreal points, bool bold = false, bool italic = false);

// The about box's dialog font: MS Sans Serif 8.25 point or the closest face installed.
QFont dialogFont();

}  // namespace quillmark::ui
