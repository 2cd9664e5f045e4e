// SPDX-License-Identifier: MIT
#include "ui/main/PlainToolTips.h"

#include <QHelpEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>

namespace quillmark::ui {

QString PlainToolTips::displayForm(const QString& plain) {
    if (!Qt::mightBeRichText(plain)) return plain;
    return QStringLiteral("<p style='white-space:pre'>") + plain.toHtmlEscaped() +
           QStringLiteral("</p>");
}

bool PlainToolTips::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::ToolTip || widget == nullptr) return false;
    const QString tip = widget->toolTip();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), displayForm(tip), widget, widget->rect());
    return true;
}

}  // namespace quillmark::ui
