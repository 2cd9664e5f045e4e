// SPDX-License-Identifier: MIT
#pragma once
// One look for every window: the fonts, the fixed colours and the label factory.
//
// A control either follows the system palette in both its text and its background, or fixes
// both: a fixed background never meets a text colour taken from the desktop theme, which may
// be light on a dark theme and vanish on white.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace quillmark::ui::look {

// ---- Colours ----
inline const QColor kWhite{0xFF, 0xFF, 0xFF};
inline const QColor kBlack{0x00, 0x00, 0x00};
inline const QColor kTeal{0x00, 0x80, 0x80};         // the main window's background
inline const QColor kYellow{0xFF, 0xFF, 0x00};       // the two pointers when they differ
inline const QColor kLightYellow{0xFF, 0xFF, 0xC0};  // the converter panel
inline const QColor kBlue{0x00, 0x00, 0xFF};
// A red that reads at 5:1 on white; pure red (4:1) is too faint for small text.
inline const QColor kRed{0xE0, 0x00, 0x00};
// Text of a disabled control on a fixed light background: plainly greyed, still readable.
inline const QColor kGreyedText{0x6D, 0x6D, 0x6D};
// The splash window's thin border.
inline const QColor kDarkGrey{0x40, 0x40, 0x40};

// Text and background of a control. Both valid: both fixed. Both invalid: both follow the
// system palette.
struct Colours {
    QColor text;
    QColor background;

    bool fixed() const { return text.isValid() && background.isValid(); }
};
inline const Colours kSystemColours{};

// WCAG contrast ratio of two colours, from 1 (same luminance) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// Fixes a control's text and background colour, for itself and for every child that fixes
// none of its own. Disabled text becomes kGreyedText. With fill, the control paints its
// background; without, the colour says what it is drawn on (its parent's fixed colour).
void setColours(QWidget* control, const Colours& colours, bool fill);

// Fixes only the background of an area whose children bring their own colours or draw their
// own background (buttons, text boxes).
void setBackground(QWidget* area, const QColor& background);

// ---- Fonts ----

// The windows' default font, drawn for 8.25 point MS Sans Serif: 11 pixels, as the windows
// are laid out in pixels; the nearest installed sans-serif face.
QFont windowFont(bool bold = false);

// Tahoma, or a sans-serif face of similar width, for the splash window's fixed Latin texts.
QFont tahomaFont(qreal points, bool bold = false, bool italic = false);

// ---- Labels ----

enum class Border {
    None,
    Line,    // a single line in the text colour, or in the design's line colour
    Sunken,  // a sunken panel, drawn in the palette's shades rather than the text colour
};

struct LabelDesign {
    const char* name = "";
    QString text;
    QRect geometry;  // pixels, inside the parent
    QFont font = windowFont();
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    Colours colours = kSystemColours;
    bool fill = false;  // paints its fixed background itself
    Border border = Border::None;
    QColor line;  // of a Line border where it differs from the text colour
    bool wrap = false;
};

// Keeps a disabled option button's indicator an empty light circle on any palette: a dark
// theme's own disabled shade fills it, and a filled circle reads as chosen.
void setLightIndicator(QWidget* option);

// A plain-text label: markup in its text is shown as typed.
QLabel* createLabel(QWidget* parent, const LabelDesign& design);

}  // namespace quillmark::ui::look
