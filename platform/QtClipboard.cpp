// SPDX-License-Identifier: MIT
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quillmark::platform {

namespace {
QClipboard* systemClipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}
}  // namespace

bool QtClipboard::clear() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    clipboard->clear(QClipboard::Clipboard);
    return true;
}

bool QtClipboard::setText(const QString& text) {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return false;
    clipboard->setText(text, QClipboard::Clipboard);
    // Where the window system keeps clipboard ownership (X11), failing to take it means the
    // text never arrived; elsewhere the clipboard holds our data right after the call.
    if (clipboard->ownsClipboard()) return true;
    const QMimeData* held = clipboard->mimeData(QClipboard::Clipboard);
    return held && held->hasText() && held->text() == text;
}

std::optional<QString> QtClipboard::text() {
    QClipboard* clipboard = systemClipboard();
    if (!clipboard) return std::nullopt;
    const QMimeData* held = clipboard->mimeData(QClipboard::Clipboard);
    if (!held || !held->hasText()) return QString();
    return held->text();
}

}  // namespace quillmark::platform
