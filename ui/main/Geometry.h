// SPDX-License-Identifier: MIT
#pragma once
// The main window's arrangement is given in twips; the window is laid out at 15 twips a pixel.
#include <QRect>
#include <QSize>
#include <QString>

namespace quillmark::ui {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTwipsPerInch = 1440;

constexpr int Pixels(int twips) { return twips / kTwipsPerPixel; }
constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

// Fixed outer size of the main window: 8790 x 6345 twips.
inline constexpr QSize kMainOuterSize{Pixels(8790), Pixels(6345)};

// A screen distance in pixels as the whole number of twips it spans at dotsPerInch:
// -3 pixels at 96 dpi give "-45".
QString TwipsText(int pixels, double dotsPerInch);

}  // namespace quillmark::ui
