#pragma once
#include <QIcon>
#include <QPixmap>

namespace quillmark::resources {

// Resource path of the program icon's drawing.
inline constexpr const char* kProgramIconPath = ":/quillmark/quillmark.svg";

// The program icon at the sizes window systems ask for (title bars, task bars, switchers).
QIcon programIcon();

// The program icon drawn as a square picture of the given side in device-independent pixels,
// sharp on screens with a device pixel ratio above one.
QPixmap programPicture(int side, qreal devicePixelRatio = 1.0);

}  // namespace quillmark::resources
