// SPDX-License-Identifier: MIT
// Close processing of the main window, Quit, and the placement written in twips.
#include <QTest>

#include "tests/ui/MainWindowHarness.h"
#include "ui/common/Twips.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

using Write = std::tuple<QString, QString, QString>;

// Another program window (a browser window, say) that records its own close processing.
class OtherWindow : public QWidget {
public:
    OtherWindow(const char* name, QStringList& log, const FakeSettingsStore& settings)
        : log_(log), settings_(settings) {
        setObjectName(QString::fromLatin1(name));
        setAttribute(Qt::WA_DeleteOnClose);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        log_ << QStringLiteral("%1 closed after %2 writes")
                    .arg(objectName())
                    .arg(settings_.writes.size());
        QWidget::closeEvent(event);
    }

private:
    QStringList& log_;
    const FakeSettingsStore& settings_;
};

std::vector<Write> placement(const char* left, const char* top, const char* width,
                             const char* height) {
    return {{"Settings", "MainLeft", left},
            {"Settings", "MainTop", top},
            {"Settings", "MainWidth", width},
            {"Settings", "MainHeight", height}};
}

}  // namespace

class tst_CloseProcessing : public QObject {
    Q_OBJECT
private slots:
    void twipsText_data();
    void twipsText();
    void exitClosesOthersNewestFirstThenWrites();
    void placementWritten_data();
    void placementWritten();
    void minimisedWritesNothing();
    void quitEndsAtOnceWritingNothing();
    void failedWriteStillCloses();
    void mainWindowAnywhereInListClosesOnlyOthers();
};

void tst_CloseProcessing::twipsText_data() {
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("dpi");
    QTest::addColumn<QString>("text");
    QTest::newRow("origin") << 0 << 96.0 << "0";
    QTest::newRow("three pixels off the left edge") << -3 << 96.0 << "-45";
    QTest::newRow("outer width") << 586 << 96.0 << "8790";
    QTest::newRow("1920 twips") << 128 << 96.0 << "1920";
    QTest::newRow("120 dpi screen") << 100 << 120.0 << "1200";
    QTest::newRow("fraction rounds to whole twips") << 1 << 144.0 << "10";
    QTest::newRow("unknown dpi counts as 96") << 2 << 0.0 << "30";
}

void tst_CloseProcessing::twipsText() {
    QFETCH(int, pixels);
    QFETCH(double, dpi);
    QFETCH(QString, text);
    QCOMPARE(ui::twipsText(pixels, dpi), text);
}

void tst_CloseProcessing::exitClosesOthersNewestFirstThenWrites() {
    MainWindowHarness h;
    QStringList log;
    auto* first = new OtherWindow("browser1", log, h.settings);
    auto* second = new OtherWindow("browser2", log, h.settings);
    h.windows.add(first);
    h.windows.add(second);
    first->show();
    second->show();
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    QCOMPARE(h.window->logicalDpiX(), 96);

    h.choose("mnuFileExit");

    QCOMPARE(log,
             (QStringList{"browser2 closed after 0 writes", "browser1 closed after 0 writes"}));
    QCOMPARE(h.windows.closed, (QStringList{"browser2", "browser1"}));
    QCOMPARE(h.settings.writes, placement("0", "0", "8790", "6345"));
    QTRY_VERIFY(h.window.isNull());  // closed and destroyed
    QTRY_COMPARE(h.windows.count(), 0);
    QCOMPARE(h.windows.endProgramCalls, 0);
}

void tst_CloseProcessing::placementWritten_data() {
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<Qt::WindowState>("forced");
    QTest::addColumn<bool>("closeBox");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("top");
    QTest::newRow("moved, closed by the close box")
        << QPoint(15, 30) << Qt::WindowNoState << true << "225" << "450";
    QTest::newRow("three pixels off the left edge")
        << QPoint(-3, 0) << Qt::WindowNoState << false << "-45" << "0";
    // A window of fixed size refuses a state a window manager may force on it: it takes its
    // own size and place back, and they are what is written.
    QTest::newRow("maximised") << QPoint(15, 30) << Qt::WindowMaximized << false << "225" << "450";
    QTest::newRow("made full screen")
        << QPoint(15, 30) << Qt::WindowFullScreen << true << "225" << "450";
}

void tst_CloseProcessing::placementWritten() {
    QFETCH(QPoint, place);
    QFETCH(Qt::WindowState, forced);
    QFETCH(bool, closeBox);
    QFETCH(QString, left);
    QFETCH(QString, top);
    MainWindowHarness h;
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    h.window->move(place);
    QCOMPARE(h.window->frameGeometry().topLeft(), place);
    if (forced != Qt::WindowNoState) {
        h.window->setWindowState(forced);
        QTRY_COMPARE(h.window->windowState(), Qt::WindowNoState);
        QTRY_COMPARE(h.window->frameGeometry(), QRect(place, QSize(586, 423)));
    }
    if (closeBox)
        QVERIFY(h.window->close());
    else
        h.choose("mnuFileExit");
    QCOMPARE(h.settings.writes, placement(qPrintable(left), qPrintable(top), "8790", "6345"));
}

void tst_CloseProcessing::minimisedWritesNothing() {
    MainWindowHarness h;
    QStringList log;
    auto* other = new OtherWindow("browser1", log, h.settings);
    h.windows.add(other);
    h.window->showMinimized();
    QVERIFY(h.window->isMinimized());
    h.choose("mnuFileExit");
    QCOMPARE(log, QStringList{"browser1 closed after 0 writes"});  // other windows still go
    QCOMPARE(h.settings.writes.size(), 0u);
    QTRY_VERIFY(h.window.isNull());
}

void tst_CloseProcessing::quitEndsAtOnceWritingNothing() {
    MainWindowHarness h;
    QStringList log;
    h.windows.add(new OtherWindow("browser1", log, h.settings));
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    h.click("cmdExit");
    QCOMPARE(h.windows.endProgramCalls, 1);
    QCOMPARE(h.settings.writes.size(), 0u);
    QCOMPARE(log, QStringList());
    QCOMPARE(h.windows.closed, QStringList());
    QVERIFY(h.window->isVisible());  // ending the program is the window list's job
    delete h.windows.at(1);
}

void tst_CloseProcessing::failedWriteStillCloses() {
    MainWindowHarness h;
    h.settings.failWrites = true;
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    h.choose("mnuFileExit");
    QCOMPARE(h.settings.writes.size(), 4u);
    QCOMPARE(h.messages.shown, QStringList());
    QTRY_VERIFY(h.window.isNull());
}

void tst_CloseProcessing::mainWindowAnywhereInListClosesOnlyOthers() {
    // A window opened before the main one that is still open (the splash window, say) goes too,
    // and the main window does not close itself a second time.
    FakeClipboard clipboard;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeWindowList windows;
    QStringList log;
    auto* earlier = new OtherWindow("frmSplash", log, settings);
    windows.add(earlier);
    QPointer<ui::frmMain> window = new ui::frmMain(ui::MainWindowServices{
        clipboard, messages, settings, windows, {QStringLiteral("Quillmark"), 2, 0, 0}, {}, {}});
    windows.add(new OtherWindow("browser1", log, settings));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QVERIFY(window->close());
    QCOMPARE(windows.closed, (QStringList{"browser1", "frmSplash"}));
    QCOMPARE(settings.writes.size(), 4u);
    QTRY_COMPARE(windows.count(), 0);
}

QTEST_MAIN(tst_CloseProcessing)
#include "tst_CloseProcessing.moc"
