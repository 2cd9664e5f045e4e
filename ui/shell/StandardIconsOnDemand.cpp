// SPDX-License-Identifier: MIT
#include "ui/shell/StandardIconsOnDemand.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QWidget>
#include <memory>

namespace quillmark::ui {

namespace {

// The style's picture, asked for on first use and shared by every copy of the icon.
struct DeferredPicture {
    QPointer<const QStyle> style;
    QStyle::StandardPixmap which;
    QPointer<const QWidget> widget;
    QIcon icon;
    bool resolved = false;

    const QIcon& get() {
        if (!resolved) {
            resolved = true;
            if (style) icon = style->standardIcon(which, nullptr, widget.data());
        }
        return icon;
    }
};

class DeferredIconEngine final : public QIconEngine {
public:
    explicit DeferredIconEngine(std::shared_ptr<DeferredPicture> picture)
        : picture_(std::move(picture)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        picture_->get().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture_->get().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return picture_->get().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return picture_->get().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return picture_->get().availableSizes(mode, state);
    }
    // The overflow pictures always exist; saying so needs no reading.
    bool isNull() override { return picture_->resolved && picture_->icon.isNull(); }
    QString key() const override { return QStringLiteral("QuillmarkDeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredIconEngine(picture_); }

private:
    std::shared_ptr<DeferredPicture> picture_;
};

}  // namespace

StandardIconsOnDemand::StandardIconsOnDemand(QStyle* style) : QProxyStyle(style) {}

QIcon StandardIconsOnDemand::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                          const QWidget* widget) const {
    // Only pictures that depend on nothing but the application, and that Qt always has.
    const bool overflow = standardIcon == SP_ToolBarHorizontalExtensionButton ||
                          standardIcon == SP_ToolBarVerticalExtensionButton;
    if (!overflow || option != nullptr) {
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
    auto picture = std::make_shared<DeferredPicture>();
    picture->style = baseStyle();
    picture->which = standardIcon;
    picture->widget = widget;
    return QIcon(new DeferredIconEngine(std::move(picture)));
}

void useStandardIconsOnDemand() {
    // The style Qt chose is owned by the application, so the wrapper gets one of its own.
    if (QStyle* chosen = QStyleFactory::create(QApplication::style()->name())) {
        QApplication::setStyle(new StandardIconsOnDemand(chosen));
    }
}

}  // namespace quillmark::ui
