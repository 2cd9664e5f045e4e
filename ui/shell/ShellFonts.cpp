// SPDX-License-Identifier: MIT
#include "ui/shell/ShellFonts.h"

#include <QStringList>

namespace quillmark::ui {

namespace {

QFont fontFromFamilies(const QStringList& families, qreal points) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

QFont tahomaFont(qreal points, bool bold, bool italic) {
    QFont font = fontFromFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                                   QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
                                  points);
    font.setBold(bold);
    font.setItalic(italic);
    // The splash window's texts are fixed Latin text that each of these faces draws in full,
    // so the list of faces to fall back on for other characters, which takes fontconfig a
    // sizeable part of the start-up to sort, is never asked for.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QFont dialogFont() {
    return fontFromFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
         QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")},
        8.25);
}

}  // namespace quillmark::ui
