// SPDX-License-Identifier: MIT
#pragma once
#include <QColor>
#include <QList>
#include <QObject>
#include <QRect>

class QWidget;

namespace quillmark::ui {

// Marks drawn on the window's teal beside controls, never over them: a bar beneath each result
// built from the characters at the input box's caret, and a ring around the control that has
// the keyboard focus. The two differ in shape and colour, so a result the caret feeds is never
// taken for the focused control. Drawn by the area itself beneath its children, so that no
// widget is added for a mouse or a screen reader to meet, and the controls' own text and
// colours stay exactly as they are.
class AreaMarks final : public QObject {
    Q_OBJECT
public:
    // The caret's bar: yellow, 4.4:1 on the teal, a colour the ring never takes.
    static constexpr int kFrameWidth = 3;
    static inline const QColor kCaretBar{0xFF, 0xFF, 0x00};
    static constexpr int kRingWidth = 2;

    explicit AreaMarks(QWidget* area);

    // Bars beneath these rectangles (in the area), replacing the ones before.
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
