// SPDX-License-Identifier: MIT
// The marks through the real path: on a virtual X server with a window manager (run by
// under-xvfb.sh), xdotool moves the real pointer over each result in turn and presses real
// keys; a picture of the screen (ImageMagick's import) must show the mark on exactly the
// characters the field was cut from, found at their places on screen from cursorRect.
// QUILLMARK_SHOTS names a folder to keep the pictures in.
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>

#include "MainWindowHarness.h"
#include "ui/main/AreaMarks.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

const QColor kSourceMark(0x3C, 0x9A, 0x3C);
const QColor kWordWarning(0xC8, 0x64, 0x00);

bool run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

struct Span {
    int start;
    int length;
};

}  // namespace

class tst_MarksUnderX11 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pointerOverEachResultMarksItsCharacters();
    void arrowKeysMoveTheFrames();
    void typingClearsTheMarks();
    void faultyWordsShowOnScreen();

private:
    QImage screen(const QString& name);
    // Pixels of the mark's colour in the cell of character `position` of the input box.
    int markedPixels(const QImage& shot, int position, const QColor& colour) const;
    void pointAt(QWidget* widget);
    void key(const QString& name);

    MainWindowHarness h_;
    QTemporaryDir scratch_;
    QString shots_;
};

void tst_MarksUnderX11::initTestCase() {
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QLatin1String("xcb"))
        QSKIP("runs on a virtual X server: tests/ui/under-xvfb.sh");
    QVERIFY(run(QStringLiteral("xdotool"), {QStringLiteral("version")}));
    shots_ = qEnvironmentVariable("QUILLMARK_SHOTS", scratch_.path());
    QDir().mkpath(shots_);
    QVERIFY(h_.showActive());
    h_.window->raise();
    QTest::qWait(300);
}

QImage tst_MarksUnderX11::screen(const QString& name) {
    QCoreApplication::processEvents();
    QTest::qWait(150);  // drawn and handed to the X server
    const QString path = shots_ + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}))
        return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

int tst_MarksUnderX11::markedPixels(const QImage& shot, int position, const QColor& colour) const {
    ui::InputBox* box = h_.input();
    QTextCursor cursor(box->document());
    cursor.setPosition(position);
    const QRect left = box->cursorRect(cursor);
    cursor.setPosition(position + 1);
    const QRect right = box->cursorRect(cursor);
    // The cell without a pixel column at either edge: characters stand at fractional places,
    // and a neighbour's mark may round into the next column.
    const int end = right.y() == left.y() ? right.x() - 1 : left.x() + 4;
    int count = 0;
    for (int x = left.x() + 2; x < end; ++x)
        for (int y = left.top(); y <= left.bottom(); ++y) {
            const QPoint at = box->viewport()->mapToGlobal(QPoint(x, y));
            if (shot.pixelColor(at) == colour) ++count;
        }
    return count;
}

void tst_MarksUnderX11::pointAt(QWidget* widget) {
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    QVERIFY(run(QStringLiteral("xdotool"),
                {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())}));
}

void tst_MarksUnderX11::key(const QString& name) {
    QVERIFY(run(QStringLiteral("xdotool"),
                {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"), name}));
}

void tst_MarksUnderX11::pointerOverEachResultMarksItsCharacters() {
    h_.setText(kWorkedExample);
    h_.window->cmdDebug_Click();
    for (const FieldRow& row : kFields) {
        const QList<TextSpan> spans(h_.window->sourceMarks().spansOf(row.field).begin(),
                                    h_.window->sourceMarks().spansOf(row.field).end());
        QVERIFY(!spans.isEmpty());
        pointAt(h_.result(row.field));
        const auto showing = [&] {
            const QList<QTextEdit::ExtraSelection> marks = h_.input()->extraSelections();
            return !marks.isEmpty() &&
                   marks.front().cursor.selectionStart() == static_cast<int>(spans.front().start);
        };
        QTRY_VERIFY(showing());
        const QImage shot = screen(QStringLiteral("hover-") + QString::fromLatin1(row.key.data()));
        QVERIFY(!shot.isNull());
        for (const TextSpan& span : spans) {
            const int first = static_cast<int>(span.start);
            const int end = static_cast<int>(span.end());
            for (int i = first; i < end; ++i)
                QVERIFY2(
                    markedPixels(shot, i, kSourceMark) > 0,
                    qPrintable(
                        QStringLiteral("%1: character %2 unmarked").arg(row.key.data()).arg(i)));
            // The characters on either side, unless another run of the same field, stay clear.
            if (first > 0) QCOMPARE(markedPixels(shot, first - 1, kSourceMark), 0);
            if (end < kWorkedExample.size()) QCOMPARE(markedPixels(shot, end, kSourceMark), 0);
        }
    }
    // Off the results: nothing marked.
    pointAt(h_.button("cmdDebug"));
    QTRY_VERIFY(h_.input()->extraSelections().isEmpty());
    const QImage shot = screen(QStringLiteral("hover-none"));
    for (int i = 0; i < kWorkedExample.size(); ++i) QCOMPARE(markedPixels(shot, i, kSourceMark), 0);
}

void tst_MarksUnderX11::arrowKeysMoveTheFrames() {
    h_.setText(kWorkedExample);
    h_.window->cmdDebug_Click();
    h_.window->activateWindow();
    h_.input()->setFocus();
    QTextCursor cursor = h_.input()->textCursor();
    cursor.setPosition(9);  // the start of word 2
    h_.input()->setTextCursor(cursor);
    auto* marks = h_.window->findChild<ui::AreaMarks*>(QStringLiteral("areaMarks"));
    // Right through word 2: characters 5-6 feed the main PM, 7-8 the aux PM.
    const QList<QList<Field>> expected{{},
                                       {},
                                       {},
                                       {Field::MainPM},
                                       {Field::MainPM},
                                       {Field::AuxPM},
                                       {Field::AuxPM},
                                       {Field::AuxPM}};
    for (int step = 0; step < expected.size(); ++step) {
        key(QStringLiteral("Right"));
        QTRY_COMPARE(h_.input()->textCursor().position(), 10 + step);
        QList<QRect> frames;
        for (Field field : expected[step]) frames << h_.result(field)->geometry();
        QCOMPARE(marks->frames(), frames);
    }
    // On screen: the caret's bar beneath the aux PM result, teal beneath the main PM result.
    const QImage shot = screen(QStringLiteral("caret-aux-pm"));
    const auto beneath = [&](Field field) {
        QLabel* label = h_.result(field);
        return shot.pixelColor(label->mapToGlobal(QPoint(label->width() / 2, label->height() + 1)));
    };
    QCOMPARE(beneath(Field::AuxPM), ui::AreaMarks::kCaretBar);
    QCOMPARE(beneath(Field::MainPM), QColor(0x00, 0x80, 0x80));
}

void tst_MarksUnderX11::typingClearsTheMarks() {
    h_.setText(kWorkedExample);
    h_.window->cmdDebug_Click();
    h_.input()->setFocus();
    h_.input()->moveCursor(QTextCursor::End);
    pointAt(h_.result(Field::CallRegister));
    QTRY_VERIFY(!h_.input()->extraSelections().isEmpty());
    QVERIFY(markedPixels(screen(QStringLiteral("before-edit")), 0, kSourceMark) > 0);
    key(QStringLiteral("x"));
    QTRY_COMPARE(h_.text(), kWorkedExample + QLatin1Char('x'));
    QVERIFY(h_.input()->extraSelections().isEmpty());
    const QImage shot = screen(QStringLiteral("after-edit"));
    for (int i = 0; i < 8; ++i) QCOMPARE(markedPixels(shot, i, kSourceMark), 0);
    auto* marks = h_.window->findChild<ui::AreaMarks*>(QStringLiteral("areaMarks"));
    QVERIFY(marks->frames().isEmpty());
}

void tst_MarksUnderX11::faultyWordsShowOnScreen() {
    pointAt(h_.button("cmdDebug"));
    QString text = kWorkedExample.toLower();
    h_.setText(text.replace(53, 1, QStringLiteral("\n")));  // lower case and wrapped
    h_.window->cmdDebug_Click();
    const QImage shot = screen(QStringLiteral("faulty-words"));
    // Word 1 (lower case) and word 6 (two words over a line break) warn; word 2 does not.
    for (int i : {0, 7, 45, 52, 54, 61}) QVERIFY(markedPixels(shot, i, kWordWarning) > 0);
    for (int i : {9, 16}) QCOMPARE(markedPixels(shot, i, kWordWarning), 0);
}

QTEST_MAIN(tst_MarksUnderX11)
#include "tst_MarksUnderX11.moc"
