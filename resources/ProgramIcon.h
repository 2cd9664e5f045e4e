// SPDX-License-Identifier: MIT
#pragma once
#include <QIcon>
#include <QPixmap>
#include <array>

namespace quillmark::resources {

// The sides, in pixels, at which the program icon is compiled into the program as a PNG
// picture, smallest first.
inline constexpr std::array<int, 8> kProgramIconSides{16, 24, 32, 48, 64, 72, 128, 144};

// The sides given to window systems with each window (title bars, task bars, switchers).
inline constexpr std::array<int, 6> kWindowIconSides{16, 24, 32, 48, 64, 128};

// The program icon at the sizes window systems ask for.
QIcon programIcon();

// The program icon as a square picture of the given side in device-independent pixels,
// sharp on screens with a device pixel ratio above one.
QPixmap programPicture(int side, qreal devicePixelRatio = 1.0);

}  // namespace quillmark::resources
