// SPDX-License-Identifier: MIT
#include "platform/OwnTitleBar.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace quillmark::platform {

namespace {

// The buttons stand where Qt's own title bar puts them, the maximise button's place left empty,
// so that they are found in the same place as on the browser window, which keeps Qt's bar.
const QString kBarName = QStringLiteral("ownTitleBar");
constexpr int kBarHeight = 26;
constexpr int kButtonSize = 18;
constexpr int kButtonGap = 5;
constexpr int kRightMargin = 8;
constexpr int kCloseSlot = 0;
constexpr int kMinimiseSlot = 2;

class TitleBar final : public QWidget {
public:
    enum class Button { None, Close, Minimise };

    TitleBar(QWidget* window, bool minimise) : QWidget(window), minimise_(minimise) {
        setObjectName(kBarName);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setGeometry(0, 0, window->width(), kBarHeight);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Resize: setGeometry(0, 0, parentWidget()->width(), kBarHeight); break;
            case QEvent::WindowTitleChange:
            case QEvent::ActivationChange: update(); break;
            default: break;
        }
        return QWidget::eventFilter(watched, event);
    }

    void paintEvent(QPaintEvent*) override {
        const QPalette& colours = parentWidget()->palette();
        const bool active = parentWidget()->isActiveWindow();
        QPainter painter(this);
        painter.fillRect(rect(), colours.color(QPalette::Button));
        painter.setPen(colours.color(QPalette::Mid));
        painter.drawLine(0, height() - 1, width(), height() - 1);

        const QColor text =
            active ? colours.color(QPalette::ButtonText) : inactiveCaptionColour(colours);
        QRect captionArea = rect().adjusted(8, 0, -8, -1);
        captionArea.setRight(buttonRect(minimise_ ? kMinimiseSlot : kCloseSlot).left() -
                             kButtonGap);
        painter.setPen(text);
        painter.drawText(captionArea, Qt::AlignVCenter | Qt::AlignLeft,
                         fontMetrics().elidedText(parentWidget()->windowTitle(), Qt::ElideRight,
                                                  captionArea.width()));

        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(text, 1.5));
        const QRectF close = QRectF(buttonRect(kCloseSlot)).adjusted(5, 5, -5, -5);
        painter.drawLine(close.topLeft(), close.bottomRight());
        painter.drawLine(close.bottomLeft(), close.topRight());
        if (minimise_) {
            const QRectF minimise = QRectF(buttonRect(kMinimiseSlot)).adjusted(5, 5, -5, -5);
            painter.drawLine(minimise.bottomLeft(), minimise.bottomRight());
        }
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        pressed_ = buttonAt(event->position().toPoint());
        // Anywhere else the bar moves the window: on Wayland only the compositor can.
        if (pressed_ == Button::None) window()->windowHandle()->startSystemMove();
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        const Button released = buttonAt(event->position().toPoint());
        const Button pressed = std::exchange(pressed_, Button::None);
        if (released != pressed) return;
        if (released == Button::Close) window()->close();
        if (released == Button::Minimise) window()->showMinimized();
    }

private:
    // Button places counted from the right edge.
    QRect buttonRect(int slot) const {
        const int right = width() - kRightMargin - slot * (kButtonSize + kButtonGap);
        return {right - kButtonSize, (kBarHeight - kButtonSize) / 2, kButtonSize, kButtonSize};
    }

    Button buttonAt(QPoint point) const {
        if (buttonRect(kCloseSlot).contains(point)) return Button::Close;
        if (minimise_ && buttonRect(kMinimiseSlot).contains(point)) return Button::Minimise;
        return Button::None;
    }

    bool minimise_;
    Button pressed_ = Button::None;
};

}  // namespace

bool clientDrawsTitleBars() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void useOwnTitleBar(QWidget* window) {
    if (!clientDrawsTitleBars() ||
        window->findChild<QWidget*>(kBarName, Qt::FindDirectChildrenOnly)) {
        return;
    }
    const bool minimise = window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint);
    // Only the window's kind stays: a title hint beside the frameless one would bring Qt's bar
    // back.
    window->setWindowFlags((window->windowFlags() & Qt::WindowType_Mask) | Qt::FramelessWindowHint);

    // A window without a layout places its controls itself: they move down with the bar.
    if (!window->layout()) {
        for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!child->isWindow()) child->move(child->pos() + QPoint(0, kBarHeight));
        }
    }
    QMargins margins = window->contentsMargins();
    margins.setTop(margins.top() + kBarHeight);
    window->setContentsMargins(margins);
    if (window->minimumSize() == window->maximumSize() && !window->minimumSize().isEmpty()) {
        window->setFixedSize(window->minimumSize() + QSize(0, kBarHeight));
    }
    (new TitleBar(window, minimise))->raise();
}

QColor inactiveCaptionColour(const QPalette& colours) {
    // The palette's disabled text is meant to be hard to read (Fusion's grey on its light grey
    // is 1.6:1, Adwaita's dark one 2.9:1). Two thirds of the way from the bar's colour to its
    // text keeps an idle caption readable (above 4.5:1 in both) and still plainly fainter.
    const QColor text = colours.color(QPalette::Active, QPalette::ButtonText);
    const QColor bar = colours.color(QPalette::Active, QPalette::Button);
    const auto mix = [](int a, int b) { return (2 * a + b + 1) / 3; };
    return QColor(mix(text.red(), bar.red()), mix(text.green(), bar.green()),
                  mix(text.blue(), bar.blue()));
}

}  // namespace quillmark::platform
