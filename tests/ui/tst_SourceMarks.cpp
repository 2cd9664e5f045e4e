// SPDX-License-Identifier: MIT
// The main window links results and input characters both ways: a result under the pointer
// marks its characters, the caret frames the results it feeds, faulty words are marked, and
// none of it touches the text, the selection, the caret, Undo, SavedText, the clipboard or the
// report. Contrast is checked from the window's own pixels in three palettes.
#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QImage>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextBlock>
#include <QToolTip>
#include <optional>

#include "MainWindowHarness.h"
#include "ui/common/WindowLook.h"
#include "ui/main/AreaMarks.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

const QColor kSourceMark(0x3C, 0x9A, 0x3C);
const QColor kWordWarning(0xC8, 0x64, 0x00);
const QColor kTeal(0x00, 0x80, 0x80);

struct Span {
    int start;
    int length;
    bool operator==(const Span&) const = default;
};

QList<Span> marked(const MainWindowHarness& h, const QColor& colour) {
    QList<Span> spans;
    for (const QTextEdit::ExtraSelection& mark : h.input()->extraSelections())
        if (mark.format.background().color() == colour)
            spans << Span{mark.cursor.selectionStart(),
                          mark.cursor.selectionEnd() - mark.cursor.selectionStart()};
    return spans;
}

void enter(QWidget* widget) {
    QEnterEvent event(QPointF(2, 2), widget->mapTo(widget->window(), QPointF(2, 2)),
                      widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

QList<QRect> frames(const MainWindowHarness& h) {
    return h.window->findChild<ui::AreaMarks*>(QStringLiteral("areaMarks"))->frames();
}

QList<QRect> geometries(const MainWindowHarness& h, const QList<Field>& fields) {
    QList<QRect> rects;
    for (Field field : fields) rects << h.result(field)->geometry();
    return rects;
}

void putCaret(MainWindowHarness& h, int position, int anchor = -1) {
    QTextCursor cursor = h.input()->textCursor();
    cursor.setPosition(anchor < 0 ? position : anchor);
    if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
    h.input()->setTextCursor(cursor);
}

QString workedWithSpaceAfter(int word, const QString& separator) {
    QString text = kWorkedExample;
    return text.replace(word * 9 - 1, 1, separator);
}

// The tooltip the input box shows with the pointer over character `position`.
QString noteToolTipAt(MainWindowHarness& h, int position) {
    // A tooltip fades out a while after it is hidden: wait until the last one is gone.
    QToolTip::hideText();
    QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000);
    QTextCursor cursor(h.input()->document());
    cursor.setPosition(position);
    const QRect caret = h.input()->cursorRect(cursor);
    const QPoint at = caret.center() + QPoint(2, 0);
    QHelpEvent help(QEvent::ToolTip, at, h.input()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(h.input()->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::WindowText, Qt::white);
    p.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(0x41, 0x41, 0x41));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

QPalette highContrastPalette() {
    QPalette p;
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase})
        p.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(role, Qt::white);
    p.setColor(QPalette::Highlight, QColor(0xFF, 0xFF, 0x00));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

// The area's pixels as drawn, in the area's coordinates.
QImage areaPixels(const MainWindowHarness& h) {
    return h.window->centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class tst_SourceMarks : public QObject {
    Q_OBJECT
private slots:
    // Field -> characters
    void pointerOnAResultMarksItsCharacters_data();
    void pointerOnAResultMarksItsCharacters();
    void pointerOnACaptionMarksToo();
    void markingChangesNothingElse();
    // Characters -> fields
    void caretFramesTheResultsItFeeds_data();
    void caretFramesTheResultsItFeeds();
    void caretTellsAssistiveTechnologyWithoutTakingFocus();
    // Only while true
    void anEditClearsTheMarks();
    void resetTrimAndRestoreClearTheMarks_data();
    void resetTrimAndRestoreClearTheMarks();
    void charactersBeyondTheBasicPlaneKeepTheirPlaces();
    // Faulty words
    void faultyPastesAreMarked_data();
    void faultyPastesAreMarked();
    void resultsDescribeTheirSourceAndWarnings();
    // Contrast, from pixels
    void marksStandOutInEveryPalette_data();
    void marksStandOutInEveryPalette();
    void focusRingStandsOutInEveryPalette_data();
    void focusRingStandsOutInEveryPalette();

private:
    void cleanup() {
        QApplication::setPalette(QApplication::style()->standardPalette());
        QToolTip::hideText();
    }
};

// ---- Field -> characters ---------------------------------------------------------------------

void tst_SourceMarks::pointerOnAResultMarksItsCharacters_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QList<Span>>("expected");
    // Word k of the worked example starts at 9 (k - 1).
    const auto row = [](Field field, QList<Span> spans) {
        QTest::newRow(RowOf(field).key.data()) << static_cast<int>(field) << spans;
    };
    row(Field::CallRegister, {{0, 8}});
    row(Field::MainPM, {{13, 2}});
    row(Field::AuxPM, {{15, 2}});
    row(Field::OrigType, {{24, 2}});  // bit characters 25-29: digits 7 and 8 of word 3
    row(Field::TermType, {{22, 2}});  // bit characters 20-24: digits 5 and 6
    row(Field::OrigTN, {{31, 4}});
    row(Field::TermTN, {{40, 4}});
    row(Field::Queue, {{51, 2}});
    row(Field::CRLink, {{54, 8}});
    row(Field::CRBakLink, {{63, 8}});
    row(Field::AuxCR, {{72, 8}});
    row(Field::CRDialed, {{90, 8}});
    row(Field::DigitLoad, {{105, 2}});
    row(Field::DigitUnload, {{104, 2}});
    row(Field::DigsDialed, {{112, 4}});
}

void tst_SourceMarks::pointerOnAResultMarksItsCharacters() {
    QFETCH(int, field);
    QFETCH(QList<Span>, expected);
    MainWindowHarness h;
    h.window->show();
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QLabel* result = h.result(static_cast<Field>(field));
    QCOMPARE(marked(h, kSourceMark), QList<Span>{});
    enter(result);
    QCOMPARE(marked(h, kSourceMark), expected);
    leave(result);
    QCOMPARE(marked(h, kSourceMark), QList<Span>{});
}

void tst_SourceMarks::pointerOnACaptionMarksToo() {
    MainWindowHarness h;
    h.window->show();
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QLabel* caption = h.label("lblTermType");
    enter(caption);
    QCOMPARE(marked(h, kSourceMark), (QList<Span>{{22, 2}}));
    // Moving to the next row: its own characters only.
    enter(h.label("lblOrigType"));
    leave(caption);
    QCOMPARE(marked(h, kSourceMark), (QList<Span>{{24, 2}}));
    leave(h.label("lblOrigType"));
    QCOMPARE(marked(h, kSourceMark), QList<Span>{});
}

void tst_SourceMarks::markingChangesNothingElse() {
    MainWindowHarness h;
    h.window->show();
    // Pasted through Edit > Paste, so that SavedText and the undo history hold something.
    h.clipboard.content = kWorkedExample;
    h.choose("mnuEditPaste");
    h.window->cmdDebug_Click();
    h.window->cmdCopyResult_Click();
    putCaret(h, 20, 10);  // a selection from 10 to 20

    struct State {
        QString text, selected, saved, report;
        int position, anchor, undoSteps, redoSteps, revision;
        bool modified;
        bool operator==(const State&) const = default;
    };
    const auto state = [&h] {
        const QTextCursor cursor = h.input()->textCursor();
        return State{h.text(),
                     h.input()->selectedRawText(),
                     h.window->savedText(),
                     h.clipboard.content,
                     cursor.position(),
                     cursor.anchor(),
                     h.input()->document()->availableUndoSteps(),
                     h.input()->document()->availableRedoSteps(),
                     h.input()->document()->revision(),
                     h.input()->document()->isModified()};
    };
    const State before = state();
    const QStringList clipboardCalls = h.clipboard.calls;
    for (const FieldRow& row : kFields) {
        enter(h.result(row.field));
        QVERIFY(!marked(h, kSourceMark).isEmpty());
        QCOMPARE(state(), before);
        leave(h.result(row.field));
    }
    QCOMPARE(state(), before);
    QCOMPARE(h.clipboard.calls, clipboardCalls);
    // The report built afterwards is the one built before.
    h.window->cmdCopyResult_Click();
    QCOMPARE(h.clipboard.content, before.report);
    QCOMPARE(h.clipboard.content, fromView(sample::kWorkedExampleReport));
    // Undo still gives the paste back exactly.
    h.choose("mnuEditUndo");
    QCOMPARE(h.text(), kWorkedExample);
}

// ---- Characters -> fields --------------------------------------------------------------------

void tst_SourceMarks::caretFramesTheResultsItFeeds_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QList<Field>>("fields");
    QTest::newRow("start") << 0 << 0 << QList<Field>{Field::CallRegister};
    QTest::newRow("undecoded digits of word 2") << 10 << 10 << QList<Field>{};
    QTest::newRow("main PM code") << 14 << 14 << QList<Field>{Field::MainPM};
    QTest::newRow("behind word 2") << 17 << 17 << QList<Field>{Field::AuxPM};
    QTest::newRow("term type digit") << 23 << 23 << QList<Field>{Field::TermType};
    QTest::newRow("load and unload")
        << 105 << 105 << QList<Field>{Field::DigitLoad, Field::DigitUnload};
    QTest::newRow("selection over word 2") << 9 << 17 << QList<Field>{Field::MainPM, Field::AuxPM};
    QTest::newRow("selection made backwards")
        << 26 << 20 << QList<Field>{Field::OrigType, Field::TermType};
    QTest::newRow("end of text") << 116 << 116 << QList<Field>{Field::DigsDialed};
}

void tst_SourceMarks::caretFramesTheResultsItFeeds() {
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QList<Field>, fields);
    MainWindowHarness h;
    h.window->show();
    h.setText(kWorkedExample);
    putCaret(h, 60);
    h.window->cmdDebug_Click();
    putCaret(h, position, anchor);
    QCOMPARE(frames(h), geometries(h, fields));
}

void tst_SourceMarks::caretTellsAssistiveTechnologyWithoutTakingFocus() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    h.input()->setFocus();
    // What a screen reader reads from the box after each caret move, not what the widget keeps.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(h.input());
    const QList<QPair<int, QString>> stops{{14, QStringLiteral("Main PM")},
                                           {105, QStringLiteral("Digit Load, Digit UnLoad")},
                                           {104, QStringLiteral("Digit UnLoad")},
                                           {10, QStringLiteral("no result")}};
    for (const auto& [position, fields] : stops) {
        putCaret(h, position);
        const QString description = box->text(QAccessible::Description);
        QVERIFY2(description.endsWith(QStringLiteral(". At the caret: ") + fields),
                 qPrintable(description));
        QCOMPARE(QApplication::focusWidget(), h.input());
    }
}

// ---- Only while true ---------------------------------------------------------------------------

void tst_SourceMarks::anEditClearsTheMarks() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(QStringLiteral(" ") + kWorkedExample);  // a faulty word as well
    h.window->cmdDebug_Click();
    enter(h.result(Field::MainPM));
    putCaret(h, 15);
    QVERIFY(!marked(h, kSourceMark).isEmpty());
    QVERIFY(!marked(h, kWordWarning).isEmpty());
    QVERIFY(!frames(h).isEmpty());

    QTest::keyClick(h.input(), Qt::Key_X);
    QVERIFY(!h.window->sourceMarks().active());
    QVERIFY(h.input()->extraSelections().isEmpty());
    QVERIFY(frames(h).isEmpty());
    // Pointer and caret find nothing until the next decode, even once the edit is undone.
    leave(h.result(Field::MainPM));
    enter(h.result(Field::MainPM));
    putCaret(h, 3);
    QTest::keyClick(h.input(), Qt::Key_Backspace);
    QVERIFY(h.input()->extraSelections().isEmpty());
    QVERIFY(frames(h).isEmpty());
    h.window->cmdDebug_Click();
    QCOMPARE(marked(h, kSourceMark), (QList<Span>{{5, 2}}));  // the pointer still rests there
}

void tst_SourceMarks::resetTrimAndRestoreClearTheMarks_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::newRow("Reset") << "cmdReset" << kWorkedExample;
    QTest::newRow("Trim") << "cmdTrim" << QStringLiteral("BUG1234 ") + kWorkedExample;
    QTest::newRow("Trim of a single word") << "cmdTrim" << QStringLiteral("0008F5B4");
    QTest::newRow("Restore") << "cmdRestore" << kWorkedExample;
}

void tst_SourceMarks::resetTrimAndRestoreClearTheMarks() {
    QFETCH(QString, command);
    QFETCH(QString, text);
    MainWindowHarness h;
    h.window->show();
    h.clipboard.content = text;
    h.choose("mnuEditPaste");  // SavedText for Restore
    h.window->cmdDebug_Click();
    enter(h.result(Field::CallRegister));
    putCaret(h, 0);
    QVERIFY(!h.input()->extraSelections().isEmpty());
    QVERIFY(!frames(h).isEmpty());
    h.click(command.toLatin1().constData());
    QVERIFY(!h.window->sourceMarks().active());
    QVERIFY(h.input()->extraSelections().isEmpty());
    QVERIFY(frames(h).isEmpty());
}

void tst_SourceMarks::charactersBeyondTheBasicPlaneKeepTheirPlaces() {
    // U+1F4DE takes two places in the box; the marks after it move by two, not one.
    MainWindowHarness h;
    h.window->show();
    h.setText(QStringLiteral("\U0001F4DE 00000102 00001A48"));
    h.window->cmdDebug_Click();
    enter(h.result(Field::CallRegister));
    QCOMPARE(marked(h, kSourceMark), (QList<Span>{{0, 2}}));
    leave(h.result(Field::CallRegister));
    enter(h.result(Field::MainPM));
    QCOMPARE(marked(h, kSourceMark), (QList<Span>{{7, 2}}));
    putCaret(h, 8);
    QCOMPARE(frames(h), geometries(h, {Field::MainPM}));
}

// ---- Faulty words ------------------------------------------------------------------------------

void tst_SourceMarks::faultyPastesAreMarked_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<Span>>("marks");
    QTest::addColumn<QStringList>("tips");
    const QString lower = kWorkedExample.toLower();
    QTest::newRow("worked example") << kWorkedExample << QList<Span>{} << QStringList{};
    const QString lowerCase = QStringLiteral(" is in lower case: only upper-case digits are read");
    QTest::newRow("lower case") << lower << QList<Span>{{0, 8},  {18, 8}, {27, 8}, {36, 8},
                                                        {45, 8}, {99, 8}, {108, 8}}
                                << QStringList{"word 1" + lowerCase, "word 3" + lowerCase,
                                               "word 4" + lowerCase, "word 5" + lowerCase,
                                               "word 6" + lowerCase, "word 12" + lowerCase,
                                               "word 13" + lowerCase};
    QTest::newRow("wrapped over two lines")
        << workedWithSpaceAfter(6, QStringLiteral("\n")) << QList<Span>{{45, 17}}
        << QStringList{"word 6 has 16 characters: two words joined by a line break?"};
    QTest::newRow("leading space") << QStringLiteral(" ") + kWorkedExample << QList<Span>{{0, 1}}
                                   << QStringList{"word 1 is empty: the text starts with a space"};
    QTest::newRow("tabs between words")
        << QString(kWorkedExample).replace(QLatin1Char(' '), QLatin1Char('\t'))
        << QList<Span>{{0, 116}} << QStringList{"word 1 holds 12 tabs: only spaces separate words"};
    // The empty words 3 and 4 are both marked on the last space: both notes show there.
    const QString twoEmpty = QStringLiteral(
        "word 3 is empty: two spaces in a row\nword 4 is empty: the text ends with a space");
    QTest::newRow("two spaces at the end")
        << QStringLiteral("0008F5B4 00000102  ") << QList<Span>{{18, 1}, {18, 1}}
        << QStringList{twoEmpty, twoEmpty};
}

void tst_SourceMarks::faultyPastesAreMarked() {
    QFETCH(QString, text);
    QFETCH(QList<Span>, marks);
    QFETCH(QStringList, tips);
    MainWindowHarness h;
    h.window->show();
    h.setText(text);
    QVERIFY(h.input()->extraSelections().isEmpty());  // nothing before "DeBug"
    h.window->cmdDebug_Click();
    QCOMPARE(marked(h, kWordWarning), marks);
    for (const QTextEdit::ExtraSelection& mark : h.input()->extraSelections())
        QCOMPARE(mark.format.underlineStyle(), QTextCharFormat::WaveUnderline);
    for (qsizetype i = 0; i < marks.size(); ++i) {
        QCOMPARE(noteToolTipAt(h, marks[i].start), tips[i]);
        QCOMPARE(noteToolTipAt(h, marks[i].start + marks[i].length - 1), tips[i]);
        // The caret on the word's first character: its description ends with the same notes.
        putCaret(h, marks[i].start);
        const QString description = h.input()->accessibleDescription();
        QVERIFY2(
            description.endsWith(QStringLiteral("; ") +
                                 QString(tips[i]).replace(QLatin1Char('\n'), QStringLiteral("; "))),
            qPrintable(description));
    }
    // Every mark shows at least a digit wide on its first line, one on a lone space too.
    const QImage drawn = h.input()->viewport()->grab().toImage();
    const int digit = h.input()->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (const Span& span : marks) {
        QTextCursor at(h.input()->document());
        at.setPosition(span.start);
        const QRect cell = h.input()->cursorRect(at);
        int left = drawn.width(), right = -1;
        for (int x = std::max(0, cell.left() - 2); x < cell.left() + 2 * digit; ++x) {
            if (drawn.pixelColor(x, cell.center().y()) != kWordWarning) continue;
            left = std::min(left, x);
            right = x;
        }
        QVERIFY2(right - left + 1 >= digit, qPrintable(QString::number(right - left + 1)));
    }
    // Between the words, and everywhere in a sound paste, no tooltip.
    if (const int space = text.indexOf(QLatin1Char(' '), 1); space > 0)
        QCOMPARE(noteToolTipAt(h, space), QString());
}

void tst_SourceMarks::resultsDescribeTheirSourceAndWarnings() {
    MainWindowHarness h;
    h.setText(kWorkedExample.toLower());
    h.window->cmdDebug_Click();
    QCOMPARE(h.result(Field::OrigType)->accessibleDescription(),
             QStringLiteral("from word 3, bit characters 25-29; "
                            "word 3 is in lower case: only upper-case digits are read"));
    QCOMPARE(h.result(Field::MainPM)->accessibleDescription(),
             QStringLiteral("from word 2, characters 5-6"));
    QCOMPARE(h.result(Field::DigsDialed)->accessibleDescription(),
             QStringLiteral("from word 13, characters 5-8, read from 8 to 5; "
                            "word 13 is in lower case: only upper-case digits are read"));
    QVERIFY(h.result(Field::OrigType)
                ->toolTip()
                .endsWith(
                    QStringLiteral("\nword 3 is in lower case: only upper-case digits are read")));
}

// ---- Contrast, from pixels ---------------------------------------------------------------------

void tst_SourceMarks::marksStandOutInEveryPalette_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::newRow("light") << QApplication::style()->standardPalette();
    QTest::newRow("dark") << darkPalette();
    QTest::newRow("high contrast") << highContrastPalette();
}

void tst_SourceMarks::marksStandOutInEveryPalette() {
    QFETCH(QPalette, palette);
    QApplication::setPalette(palette);
    MainWindowHarness h;
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    h.setText(kWorkedExample.toLower());
    h.window->cmdDebug_Click();
    enter(h.result(Field::MainPM));
    putCaret(h, 14);
    const QImage pixels = areaPixels(h);
    ui::InputBox* box = h.input();

    // The characters' cells: their most common colour is the mark's, and the box's own
    // background beside them stands 3:1 apart; the darkest pixel (the text) 4.5:1 on the mark.
    const auto cellColours = [&](int position) {
        QTextCursor cursor(box->document());
        cursor.setPosition(position);
        const QRect left = box->cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect right = box->cursorRect(cursor);
        QMap<QRgb, int> counts;
        QColor darkest = Qt::white;
        for (int x = left.x() + 1; x < right.x(); ++x)
            for (int y = left.top(); y <= left.bottom(); ++y) {
                const QPoint at = box->viewport()->mapTo(h.window->centralWidget(), QPoint(x, y));
                const QColor c = pixels.pixelColor(at);
                ++counts[c.rgb()];
                if (ui::look::contrastRatio(c, Qt::black) <
                    ui::look::contrastRatio(darkest, Qt::black))
                    darkest = c;
            }
        QRgb common = 0;
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (it.value() > counts.value(common)) common = it.key();
        return std::pair{QColor(common), darkest};
    };
    const QColor base = palette.color(QPalette::Base);
    for (const auto& [position, colour] :
         {std::pair{13, kSourceMark}, std::pair{0, kWordWarning}}) {
        const auto [background, text] = cellColours(position);
        QCOMPARE(background, colour);
        QVERIFY2(ui::look::contrastRatio(background, base) >= 3.0, qPrintable(base.name()));
        QVERIFY(ui::look::contrastRatio(text, background) >= 4.5);
    }
    // A bar beneath the main PM result, not an outline like the focus ring: 3:1 against the
    // teal, in neither of the ring's colours.
    const QRect result = h.result(Field::MainPM)->geometry();
    const QColor bar = pixels.pixelColor(result.center().x(), result.bottom() + 2);
    QCOMPARE(pixels.pixelColor(result.left() - 2, result.center().y()), kTeal);
    QVERIFY(ui::look::contrastRatio(bar, kTeal) >= 3.0);
    QVERIFY(bar != QColor(Qt::black) && bar != QColor(Qt::white));
    // No bar beneath a result the caret does not touch.
    const QRect other = h.result(Field::AuxPM)->geometry();
    QCOMPARE(pixels.pixelColor(other.center().x(), other.bottom() + 2), kTeal);
}

void tst_SourceMarks::focusRingStandsOutInEveryPalette_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QString>("control");
    const QList<std::pair<const char*, QPalette>> palettes{
        {"light", QApplication::style()->standardPalette()},
        {"dark", darkPalette()},
        {"high contrast", highContrastPalette()}};
    for (const auto& [name, palette] : palettes)
        for (const char* control : {"txtDebugData", "cmdDebug", "cmdExit", "cmdReset", "cmdTrim",
                                    "cmdRestore", "cmdCopyResult"})
            QTest::addRow("%s %s", name, control) << palette << QString::fromLatin1(control);
}

void tst_SourceMarks::focusRingStandsOutInEveryPalette() {
    QFETCH(QPalette, palette);
    QFETCH(QString, control);
    QApplication::setPalette(palette);
    MainWindowHarness h;
    QVERIFY(h.showActive());
    auto* widget = h.window->findChild<QWidget*>(control);
    widget->setFocus(Qt::TabFocusReason);
    QVERIFY(widget->hasFocus());
    const QImage pixels = areaPixels(h);
    const QRect rect = widget->geometry();
    // Along every side: the ring's pixel just outside the control, the teal beyond it, and the
    // control's own face a few pixels inside.
    const QList<std::array<QPoint, 3>> probes{
        {QPoint(rect.left() - 1, rect.center().y()), QPoint(rect.left() - 4, rect.center().y()),
         QPoint(rect.left() + 4, rect.center().y())},
        {QPoint(rect.right() + 1, rect.center().y()), QPoint(rect.right() + 4, rect.center().y()),
         QPoint(rect.right() - 4, rect.center().y())},
        {QPoint(rect.center().x(), rect.top() - 1), QPoint(rect.center().x(), rect.top() - 4),
         QPoint(rect.left() + 6, rect.top() + 4)},
        {QPoint(rect.center().x(), rect.bottom() + 1), QPoint(rect.center().x(), rect.bottom() + 4),
         QPoint(rect.left() + 6, rect.bottom() - 4)}};
    for (const auto& [ring, teal, face] : probes) {
        const QColor r = pixels.pixelColor(ring);
        QCOMPARE(pixels.pixelColor(teal), kTeal);
        const double onTeal = ui::look::contrastRatio(r, kTeal);
        const double onFace = ui::look::contrastRatio(r, pixels.pixelColor(face));
        QVERIFY2(onTeal >= 3.0 && onFace >= 3.0,
                 qPrintable(QStringLiteral("ring %1: %2 on teal, %3 on %4")
                                .arg(r.name())
                                .arg(onTeal)
                                .arg(onFace)
                                .arg(pixels.pixelColor(face).name())));
    }
    // Without the focus, the teal reaches the control.
    h.window->findChild<QWidget*>(control == "cmdDebug" ? "cmdExit" : "cmdDebug")->setFocus();
    QCOMPARE(areaPixels(h).pixelColor(rect.left() - 1, rect.center().y()), kTeal);
}

QTEST_MAIN(tst_SourceMarks)
#include "tst_SourceMarks.moc"
