// SPDX-License-Identifier: MIT
#include "ui/main/AreaMarks.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "ui/common/WindowLook.h"

namespace quillmark::ui {

namespace {

// A band `width` pixels wide just outside `rect`.
void drawOutline(QPainter& painter, const QRect& rect, int width, const QColor& colour) {
    const QRect outer = rect.adjusted(-width, -width, width, width);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), rect.bottom() + 1, outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), rect.top(), width, rect.height()), colour);
    painter.fillRect(QRect(rect.right() + 1, rect.top(), width, rect.height()), colour);
}

// A bar `width` pixels high just beneath `rect`, as wide as it.
QRect barBeneath(const QRect& rect, int width) {
    return {rect.left(), rect.bottom() + 1, rect.width(), width};
}

}  // namespace

AreaMarks::AreaMarks(QWidget* area) : QObject(area), area_(area) { area->installEventFilter(this); }

void AreaMarks::setFrames(const QList<QRect>& around) {
    if (around == frames_) return;
    for (const QRect& rect : frames_) area_->update(barBeneath(rect, kFrameWidth));
    frames_ = around;
    for (const QRect& rect : frames_) area_->update(barBeneath(rect, kFrameWidth));
}

void AreaMarks::setFocusRing(const QRect& around, const QColor& colour) {
    if (around == ring_ && colour == ringColour_) return;
    updateAround(ring_, kRingWidth);
    ring_ = around;
    ringColour_ = colour;
    updateAround(ring_, kRingWidth);
}

QColor AreaMarks::ringColour(const QColor& background) {
    return look::contrastRatio(background, look::kBlack) >=
                   look::contrastRatio(background, look::kWhite)
               ? look::kBlack
               : look::kWhite;
}

void AreaMarks::updateAround(const QRect& rect, int width) {
    if (!rect.isEmpty()) area_->update(rect.adjusted(-width, -width, width, width));
}

bool AreaMarks::eventFilter(QObject* watched, QEvent* event) {
    // The area has filled its teal by now and draws nothing of its own; its children paint
    // afterwards, each inside its own rectangle, so the outlines outside them stay visible.
    if (watched == area_ && event->type() == QEvent::Paint) {
        QPainter painter(area_);
        for (const QRect& rect : frames_)
            painter.fillRect(barBeneath(rect, kFrameWidth), kCaretBar);
        if (!ring_.isEmpty()) drawOutline(painter, ring_, kRingWidth, ringColour_);
    }
    return false;
}

}  // namespace quillmark::ui
