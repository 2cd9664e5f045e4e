// SPDX-License-Identifier: MIT
// The browser window on the real web engine, against pages served from inside the test.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QOpenGLContext>
#include <QTimer>
#include <QtTest>

#include "tests/browser/LocalPageServer.h"
#include "tests/support/PlatformFakes.h"
#include "ui/shell/browser/OpenBrowser.h"

using quillmark::test::FakeMessageBoxes;
using quillmark::test::FakeWindowList;
using quillmark::test::LocalPageServer;

namespace {

constexpr int kLoadTimeout = 60000;

bool mapped(const char* library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

bool webEngineLoaded() { return mapped("libQt6WebEngineCore"); }

// The page's heading is dark text on a light page: a page view that draws nothing has none.
bool showsDarkPixels(QWidget* page) {
    const QImage image = page->grab().toImage();
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            if (qGray(image.pixel(x, y)) < 64) return true;
        }
    }
    return false;
}

QStringList historyOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

}  // namespace

class BrowserWebEngineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        server.addPage(QStringLiteral("/"), QStringLiteral("First page"),
                       QStringLiteral("<a href=\"/second\">on</a>"));
        server.addPage(QStringLiteral("/second"), QStringLiteral("Second page"));
        server.addPage(QStringLiteral("/stalling"), QStringLiteral("Late page"));
        server.addPage(QStringLiteral("/stalling?again"), QStringLiteral("Late page"));
        server.hold(QStringLiteral("/stalling"));
        QVERIFY(server.start());
    }

    void engineIsNotLoadedBeforeTheFirstWindow() {
        QVERIFY(!webEngineLoaded());
        // Nor the OpenGL context the engine draws with, nor the driver such a context loads.
        QCOMPARE(QOpenGLContext::globalShareContext(), nullptr);
        QVERIFY(!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
        QVERIFY(!mapped("libLLVM"));
        QVERIFY(!mapped("_mesa"));
    }

    // Opened on a page whose server does not answer yet, and then on another typed into the
    // address box as a user does (keys through the window to the focus widget): "Working..."
    // while the server stalls, the page title once it answers; each address asked for once.
    void window_showsWorkingWhileTheServerStalls() {
        FakeWindowList windows;
        const QString first = server.address(QStringLiteral("/stalling"));
        QWidget* window = open(first, windows);
        QVERIFY(window);
        QVERIFY(!engineLoadedWhenShown);
        auto* box = window->findChild<QComboBox*>(QStringLiteral("cboAddress"));
        auto* timer = window->findChild<QTimer*>(QStringLiteral("timTimer"));
        const auto stallsThenLoads = [&](const QString& path) {
            QTRY_VERIFY_WITH_TIMEOUT(server.requested.contains(path), kLoadTimeout);
            QSignalSpy ticks(timer, &QTimer::timeout);
            QTRY_VERIFY(ticks.count() >= 20);
            QCOMPARE(window->windowTitle(), QStringLiteral("Working..."));
            QVERIFY(timer->isActive());
            server.answerHeld();
            QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Late page"),
                                      kLoadTimeout);
            QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), kLoadTimeout);
            QCOMPARE(server.requested.count(path), 1);
        };
        stallsThenLoads(QStringLiteral("/stalling"));
        if (QTest::currentTestFailed()) return;

        server.hold(QStringLiteral("/stalling?again"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), box);
        QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        const QString again = first + QStringLiteral("?again");
        for (const QChar c : again) QTest::keyClick(window->windowHandle(), c.toLatin1());
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        stallsThenLoads(QStringLiteral("/stalling?again"));
        if (QTest::currentTestFailed()) return;
        QCOMPARE(box->itemText(0), again);

        QVERIFY(messages.shown.isEmpty());
        QVERIFY(window->close());
        QTRY_COMPARE(windows.count(), 0);
    }

    void window_followsPagesKeepsHistoryAndStopsTimer() {
        FakeWindowList windows;
        const QString first = server.address(QString());  // empty path, as the Web menu's
        const QString firstReported = server.address(QStringLiteral("/"));
        const QString second = server.address(QStringLiteral("/second"));

        QWidget* window = open(first, windows);
        QVERIFY(window);
        QVERIFY(webEngineLoaded());
        QVERIFY(QOpenGLContext::globalShareContext() != nullptr);
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
        auto* box = window->findChild<QComboBox*>(QStringLiteral("cboAddress"));
        auto* timer = window->findChild<QTimer*>(QStringLiteral("timTimer"));

        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("First page"),
                                  kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(historyOf(box), (QStringList{firstReported, first}),
                                  kLoadTimeout);
        // Drawn, also where the system offers no OpenGL.
        auto* page = window->findChild<QWidget*>(QStringLiteral("brwWebBrowser"));
        QTRY_VERIFY_WITH_TIMEOUT(showsDarkPixels(page), kLoadTimeout);
        // The same window system window throughout: it neither vanished nor moved.
        QCOMPARE(window->winId(), shownAs);

        box->lineEdit()->setFocus();
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), second);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QVERIFY(timer->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Second page"),
                                  kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(historyOf(box), (QStringList{second, firstReported, first}),
                                  kLoadTimeout);

        window->findChild<QAction*>(QStringLiteral("Back"))->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("First page"),
                                  kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(historyOf(box), (QStringList{firstReported, second, first}),
                                  kLoadTimeout);

        QVERIFY(window->close());
        QTRY_COMPARE(windows.count(), 0);
    }

    void window_survivesAPageThatFailsToLoad() {
        FakeWindowList windows;
        // Nothing listens on port 1: the engine shows its own error page.
        const QString unreachable = QStringLiteral("http://127.0.0.1:1/");
        QWidget* window = open(unreachable, windows);
        QVERIFY(window);
        auto* box = window->findChild<QComboBox*>(QStringLiteral("cboAddress"));
        auto* timer = window->findChild<QTimer*>(QStringLiteral("timTimer"));
        QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), kLoadTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(!window->windowTitle().isEmpty(), kLoadTimeout);
        QVERIFY(window->windowTitle() != QStringLiteral("Working..."));

        // Still usable: the next address loads.
        box->lineEdit()->setFocus();
        box->lineEdit()->setText(server.address(QStringLiteral("/second")));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Second page"),
                                  kLoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(box->itemText(0), server.address(QStringLiteral("/second")),
                                  kLoadTimeout);
        QVERIFY(window->close());
        QTRY_COMPARE(windows.count(), 0);
    }

private:
    // Opens a browser window as the Web menu does. It is on the screen with "Working..." at
    // once, before the engine is made; returns it once its page view is there.
    QWidget* open(const QString& address, FakeWindowList& windows) {
        quillmark::ui::openBrowserWindow(address, windows, messages);
        engineLoadedWhenShown = webEngineLoaded();
        QWidget* window = windows.count() == 1 ? windows.at(0) : nullptr;
        if (!window || !window->isVisible() ||
            window->windowTitle() != QStringLiteral("Working...") ||
            window->findChild<QWidget*>(QStringLiteral("brwWebBrowser")))
            return nullptr;
        shownAs = window->winId();
        const bool paged = QTest::qWaitFor(
            [window] { return window->findChild<QWidget*>(QStringLiteral("brwWebBrowser")); },
            kLoadTimeout);
        return paged ? window : nullptr;
    }

    bool engineLoadedWhenShown = false;
    WId shownAs = 0;
    LocalPageServer server;
    FakeMessageBoxes messages;
};

int main(int argc, char** argv) {
    quillmark::ui::prepareBrowserEngine();
    QApplication app(argc, argv);
    BrowserWebEngineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WebEngineBrowser.moc"
