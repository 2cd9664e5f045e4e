// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>

class QWidget;

namespace quillmark::ui {

// Outlines drawn on the window's teal around controls, never over them: a frame around each
// result built from the characters at the input box's caret, and a ring around the control
// that has the keyboard focus. Drawn by the area itself beneath its children, so that no
// widget is added for a mouse or a screen reader to meet, and the controls' own text and
// colours stay exactly as they are.
class AreaMarks final : public QObject {
    Q_OBJECT
public:
    // Black on the teal (4.4:1) and against the white or yellow results.
    static constexpr int kFrameWidth = 3;
    static constexpr int kRingWidth = 2;

    explicit AreaMarks(QWidget* area);

    // Frames around these rectangles (in the area), replacing the ones before.
    void setFrames(const QList<QRect>& around);
    const QList<QRect>& frames() const { return frames_; }
    // The focus ring around a control of the area, or none for an empty rectangle.
    void setFocusRing(const QRect& around, const QColor& colour);

    // The ring's colour for a control drawn in `background`: black on a light control, white on
    // a dark one; both stand at least 4.4:1 against the teal around it.
    static QColor ringColour(const QColor& background);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateAround(const QRect& rect, int width);

    QWidget* area_;
    QList<QRect> frames_;
    QRect ring_;
    QColor ringColour_;
};

}  // namespace quillmark::ui
