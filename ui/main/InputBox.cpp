// SPDX-License-Identifier: MIT
#include "ui/main/InputBox.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextDocument>
#include <algorithm>

namespace quillmark::ui {

QString withLineFeeds(QString text) {
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

InputBox::InputBox(QWidget* parent) : QPlainTextEdit(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
    setAcceptDrops(true);
}

QString InputBox::rawText() const { return withLineFeeds(document()->toRawText()); }

QString InputBox::selectedRawText() const { return withLineFeeds(textCursor().selectedText()); }

void InputBox::setMenuShortcuts(QList<QKeySequence> keys) { menuKeys_ = std::move(keys); }

bool InputBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (menuKeys_.contains(QKeySequence(key->keyCombination()))) {
            // Refusing the override lets the menu's shortcut run instead of the box's own key.
            event->ignore();
            return true;
        }
    }
    return QPlainTextEdit::event(event);
}

void InputBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Cut)) {
        emit cutRequested();
    } else if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
    } else if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
    } else {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool InputBox::canInsertFromMimeData(const QMimeData* source) const {
    return source && source->hasText();
}

void InputBox::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText()) emit insertRequested(source->text());
}

void InputBox::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    for (const QTextEdit::ExtraSelection& mark : extraSelections()) {
        if (!mark.format.boolProperty(kWideMarkProperty)) continue;
        if (!mark.cursor.selectedText().trimmed().isEmpty()) continue;
        QTextCursor edge(document());
        edge.setPosition(mark.cursor.selectionStart());
        const QRect from = cursorRect(edge);
        edge.setPosition(mark.cursor.selectionEnd());
        const int cell = cursorRect(edge).left() - from.left();
        const int width = std::max(cell, fontMetrics().horizontalAdvance('0'));
        // Centred on the blanks, so that it covers as little as it can of the characters beside.
        painter.setPen(QPen(mark.format.background().color(), 2));
        painter.drawRect(QRect(from.left() - (width - cell) / 2, from.top(), width, from.height())
                             .adjusted(1, 1, -1, -1));
    }
}

}  // namespace quillmark::ui
