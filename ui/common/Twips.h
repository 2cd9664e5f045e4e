// SPDX-License-Identifier: MIT
#pragma once
// Window layouts are designed in twips: 1440 to the inch, 15 to a pixel at 96 dots per inch.
// Every window converts with these, so one design size gives one pixel size everywhere.
#include <QRect>
#include <QSize>
#include <QString>

namespace quillmark::ui {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTwipsPerInch = 1440;

// The nearest whole pixel (15 is odd, so there is never a tie): 1467 twips are 98 pixels,
// -120 twips are -8.
constexpr int twipsToPixels(int twips) {
    const int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

// The twips a whole number of pixels spans: the way back for layout rules kept in twips.
constexpr int pixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

// A control's rectangle from its left, top, width and height in twips.
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

constexpr QSize twipsSize(int width, int height) {
    return QSize(twipsToPixels(width), twipsToPixels(height));
}

// A screen distance in pixels as the whole number of twips it spans at dotsPerInch:
// -3 pixels at 96 dpi give "-45".
QString twipsText(int pixels, double dotsPerInch);

}  // namespace quillmark::ui
