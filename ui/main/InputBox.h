// SPDX-License-Identifier: MIT
#pragma once
#include <QKeySequence>
#include <QList>
#include <QPlainTextEdit>
#include <QTextFormat>

namespace quillmark::ui {

// The input box txtDebugData: a plain multi-line text box whose clipboard keys and context menu
// belong to the main window's Edit commands, so every paste goes through them.
class InputBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    // The most characters the box holds. A BUG message dump is a few hundred characters; beyond
    // this a single pasted line takes the text box noticeably long to lay out.
    static constexpr int kCharacterLimit = 65536;

    // A format property of an extra selection: where the marked characters are blanks only, the
    // mark is drawn as a box at least a digit wide, since a space's own cell is a few pixels.
    static constexpr int kWideMarkProperty = QTextFormat::UserProperty + 1;

    explicit InputBox(QWidget* parent = nullptr);

    // The text as typed: non-breaking spaces stay, line and paragraph separators become LF.
    QString rawText() const;
    QString selectedRawText() const;

    // Key sequences that the window's menu shortcuts take even while the box has the focus.
    void setMenuShortcuts(QList<QKeySequence> keys);

signals:
    // The box's own clipboard keys (Shift+Insert and the like) ask for the Edit commands.
    void cutRequested();
    void copyRequested();
    void pasteRequested();
    // Text dropped or pasted by the middle mouse button, not yet inserted.
    void insertRequested(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    QList<QKeySequence> menuKeys_;
};

// Lines and paragraphs of a text box's raw text joined by LF instead of U+2028 / U+2029.
QString withLineFeeds(QString text);

}  // namespace quillmark::ui
