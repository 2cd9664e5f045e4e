// SPDX-License-Identifier: MIT
#pragma once
#include <QProxyStyle>

namespace quillmark::ui {

// The application's own style, unchanged in look, except that the pictures of the menu bar's
// and tool bars' overflow buttons are read from Qt's resources when first drawn, not when the
// bar is built. Reading them at once would make Qt load every installed image format plugin
// (and the SVG library with one of them) while the hidden main window is built, before the
// splash window can show; they are drawn only when a bar is too narrow for its items.
class StandardIconsOnDemand final : public QProxyStyle {
public:
    // Takes over the style it wraps.
    explicit StandardIconsOnDemand(QStyle* style);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Puts the application's style, as chosen by Qt (command line, environment or desktop), inside
// StandardIconsOnDemand. Call once the application object exists and before any widget does.
void useStandardIconsOnDemand();

}  // namespace quillmark::ui
