// SPDX-License-Identifier: MIT
#include "ui/common/WindowLook.h"

#include <QLabel>
#include <QPalette>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <cassert>
#include <cmath>

namespace quillmark::ui::look {

namespace {

// Relative luminance of an sRGB colour.
double luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void setColours(QWidget* control, const Colours& colours, bool fill) {
    assert(colours.fixed());
    QPalette palette = control->palette();
    // Labels and option buttons draw in WindowText, a group box's title in Text.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
        palette.setColor(QPalette::Active, role, colours.text);
        palette.setColor(QPalette::Inactive, role, colours.text);
        palette.setColor(QPalette::Disabled, role, kGreyedText);
    }
    palette.setColor(QPalette::Window, colours.background);
    control->setPalette(palette);
    control->setAutoFillBackground(fill);
}

void setBackground(QWidget* area, const QColor& background) {
    QPalette palette = area->palette();
    palette.setColor(QPalette::Window, background);
    area->setPalette(palette);
    area->setAutoFillBackground(true);
}

QFont windowFont(bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    // Slightly narrower than the fallbacks' natural width: MS Sans Serif is a narrow face, and
    // the TN hint with four wide hex digits has to fit its label.
    font.setStretch(94);
    font.setBold(bold);
    return font;
}

QFont tahomaFont(qreal points, bool bold, bool italic) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // The splash window's texts are fixed Latin text that each of these faces draws in full,
    // so the list of faces to fall back on for other characters, which takes fontconfig a
    // sizeable part of the start-up to sort, is never asked for.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QLabel* createLabel(QWidget* parent, const LabelDesign& design) {
    auto* label = new QLabel(design.text, parent);
    label->setObjectName(QString::fromLatin1(design.name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(design.font);
    label->setAlignment(design.alignment);
    label->setWordWrap(design.wrap);
    label->setGeometry(design.geometry);
    switch (design.border) {
        case Border::None: break;
        case Border::Line:
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
            label->setMargin(0);
            break;
        case Border::Sunken: label->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    }
    if (design.colours.fixed()) {
        setColours(label, design.colours, design.fill);
        // A frame draws in the text's colour; a line of another colour comes from a style rule.
        if (design.line.isValid() && design.border == Border::Line) {
            label->setFrameStyle(QFrame::NoFrame);
            label->setStyleSheet(
                QStringLiteral("QLabel { border: 1px solid %1; }").arg(design.line.name()));
        }
    } else {
        assert(!design.colours.text.isValid() && !design.colours.background.isValid());
    }
    return label;
}

void setLightIndicator(QWidget* option) {
    QPalette palette = option->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, kWhite);
    option->setPalette(palette);
}

}  // namespace quillmark::ui::look
