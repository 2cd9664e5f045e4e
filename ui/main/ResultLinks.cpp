// SPDX-License-Identifier: MIT
#include "ui/main/ResultLinks.h"

#include <QHelpEvent>
#include <QLabel>
#include <QStringList>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolTip>
#include <vector>

#include "ui/common/WindowLook.h"
#include "ui/main/AreaMarks.h"
#include "ui/main/InputBox.h"
#include "ui/main/PlainToolTips.h"
#include "ui/main/TextViews.h"

namespace quillmark::ui {

namespace {

// The characters a result was cut from, while the pointer rests on it: black on a middle green
// that stands 3.6:1 against a white box, 4.3:1 against a dark one, with black text at 5.9:1.
const look::Colours kSourceMark{look::kBlack, QColor(0x3C, 0x9A, 0x3C)};
// A word that is not eight upper-case hexadecimal digits: black with a wavy underline on a dark
// orange that stands 4:1 against a white or a dark box, the text at 5.3:1.
const look::Colours kWordWarning{look::kBlack, QColor(0xC8, 0x64, 0x00)};

// A result's tooltip: the full result text, below it where it came from, and what is wrong with
// the words it was read from.
QString resultToolTip(const QString& text, Field field, const std::vector<Source>& sources,
                      const std::vector<const WordNote*>& notes) {
    QString tip = fromUtf8(SourcesText(field, sources));
    if (!text.isEmpty()) tip = text + QLatin1Char('\n') + tip;
    for (const WordNote* note : notes) tip += QLatin1Char('\n') + fromUtf8(note->text);
    return tip;
}

QTextEdit::ExtraSelection inputMark(QTextDocument* document, TextSpan span,
                                    const look::Colours& colours) {
    QTextCursor cursor(document);
    cursor.setPosition(static_cast<int>(span.start));
    cursor.setPosition(static_cast<int>(span.end()), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colours.text);
    format.setBackground(colours.background);
    return {cursor, format};
}

}  // namespace

ResultLinks::ResultLinks(const Controls& controls, QObject* parent)
    : QObject(parent),
      controls_(controls),
      inputDescription_(controls.input->accessibleDescription()) {
    // The pointer on a result or on its caption marks the result's characters.
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        controls_.captions[i]->installEventFilter(this);
        controls_.results[i]->installEventFilter(this);
    }
    controls_.input->viewport()->installEventFilter(this);  // the faulty words' tooltips

    // Any change of the text makes the marks of the last decode untrue.
    connect(controls_.input, &QPlainTextEdit::textChanged, this, &ResultLinks::clearMarks);
    connect(controls_.input, &QPlainTextEdit::cursorPositionChanged, this,
            &ResultLinks::showCaretFields);
    connect(controls_.input, &QPlainTextEdit::selectionChanged, this,
            &ResultLinks::showCaretFields);
}

// ---- Characters ------------------------------------------------------------------------------

void ResultLinks::decoded(const TextLayout& layout, const QString& text) {
    marks_.decoded(layout, utf16(text));
    showInputMarks();
    showCaretFields();
}

void ResultLinks::clearMarks() {
    if (!marks_.active()) return;
    marks_.clear();
    showInputMarks();
    showCaretFields();
}

void ResultLinks::hoverField(std::optional<Field> field) {
    if (field == hovered_) return;
    hovered_ = field;
    showInputMarks();
}

void ResultLinks::showInputMarks() {
    // Extra selections colour characters without touching the text, the selection, the caret or
    // the undo history; the faulty words first, so that a field's mark shows over them.
    QList<QTextEdit::ExtraSelection> marks;
    QTextDocument* document = controls_.input->document();
    for (const WordNote& note : marks_.notes()) {
        QTextEdit::ExtraSelection mark = inputMark(document, note.mark, kWordWarning);
        mark.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        mark.format.setUnderlineColor(look::kBlack);
        mark.format.setProperty(InputBox::kWideMarkProperty, true);  // a fault on a space
        marks << mark;
    }
    if (hovered_)
        for (const TextSpan& span : marks_.spansOf(*hovered_))
            marks << inputMark(document, span, kSourceMark);
    controls_.input->setExtraSelections(marks);
}

void ResultLinks::showCaretFields() {
    const QTextCursor cursor = controls_.input->textCursor();
    const auto start = static_cast<std::size_t>(cursor.selectionStart());
    const auto end = static_cast<std::size_t>(cursor.selectionEnd());
    const FieldSet fields =
        start == end ? marks_.fieldsAtCaret(start) : marks_.fieldsIn(start, end);
    QList<QRect> frames;
    for (const FieldRow& row : kFields)
        if (fields.test(IndexOf(row.field)))
            frames << controls_.results[IndexOf(row.field)]->geometry();
    controls_.areaMarks->setFrames(frames);

    // Told as the box's description, which reaches a screen reader as a change of it: the focus
    // stays where it is.
    QString description = inputDescription_;
    if (marks_.active())
        description += QStringLiteral(". ") +
                       fromUtf8(caretDescription(fields, marks_.notesAt(cursor.position())));
    if (description != caretDescription_) {
        caretDescription_ = description;
        controls_.input->setAccessibleDescription(description);
    }
}

bool ResultLinks::showNoteToolTip(const QHelpEvent* help) {
    // The character under the pointer: the one after the nearest caret place, or the one before
    // it when the pointer stands left of that place.
    InputBox* input = controls_.input;
    const QTextCursor cursor = input->cursorForPosition(help->pos());
    int position = cursor.position();
    if (help->pos().x() < input->cursorRect(cursor).x() && position > 0) --position;
    QStringList notes;  // two words can share a character: an empty word at the end of the text
    for (const WordNote& note : marks_.notesAt(static_cast<std::size_t>(position)))
        notes << fromUtf8(note.text);
    if (notes.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(help->globalPos(), PlainToolTips::displayForm(notes.join(QLatin1Char('\n'))),
                       input->viewport());
    return true;
}

bool ResultLinks::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched == controls_.input->viewport())
        return showNoteToolTip(static_cast<QHelpEvent*>(event));
    if (event->type() != QEvent::Enter && event->type() != QEvent::Leave) return false;
    for (const FieldRow& row : kFields) {
        const std::size_t i = IndexOf(row.field);
        if (watched != controls_.results[i] && watched != controls_.captions[i]) continue;
        if (event->type() == QEvent::Enter)
            hoverField(row.field);
        else if (hovered_ == row.field)
            hoverField(std::nullopt);
    }
    return false;
}

// ---- Results ---------------------------------------------------------------------------------

void ResultLinks::showSources(const FieldSources& sources, bool pointersDiffer) {
    for (const FieldRow& row : kFields) {
        const std::size_t i = IndexOf(row.field);
        const std::vector<const WordNote*> notes = marks_.notesOf(row.field);
        QLabel* result = controls_.results[i];
        result->setToolTip(resultToolTip(result->text(), row.field, sources[i], notes));
        sourceDescriptions_[i] = fromUtf8(resultDescription(row.field, sources[i], notes));
    }
    pointersDiffer_ = pointersDiffer;
    describeResults();
}

void ResultLinks::clearSources() {
    for (QLabel* result : controls_.results) result->setToolTip(QString());
    sourceDescriptions_ = {};
    pointersDiffer_ = false;
    describeResults();
}

void ResultLinks::describeResults() {
    // What a screen reader hears beside a value: the pointers' yellow in words, where the result
    // came from, and what is wrong with the words it was read from.
    const QLabel* load = controls_.results[IndexOf(kPointerFields[0])];
    const QLabel* unload = controls_.results[IndexOf(kPointerFields[1])];
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        QLabel* result = controls_.results[i];
        QStringList parts;
        if ((result == load || result == unload) && pointersDiffer_)
            parts << QStringLiteral("differs from %1 pointer")
                         .arg((result == load ? unload : load)->accessibleName());
        if (!sourceDescriptions_[i].isEmpty()) parts << sourceDescriptions_[i];
        result->setAccessibleDescription(parts.join(QStringLiteral("; ")));
    }
}

}  // namespace quillmark::ui
