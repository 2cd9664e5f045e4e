// SPDX-License-Identifier: MIT
// The start-up routine with the real main window and fake platform seams: the splash shows
// first, the main window only once the splash has gone, and only once.
#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/support/PlatformFakes.h"
#include "ui/shell/Module1.h"

using namespace quillmark;

namespace {

// The main window with its controls and menus in place.
bool complete(const QObject* main) {
    const auto* debug = main->findChild<QPushButton*>("cmdDebug");
    const auto* menu = main->findChild<QAction*>("mnuWebNortelHome");
    return debug && menu && main->findChildren<QLabel*>().size() >= 15;
}

// Counts the main window's show events and notes whether the splash still existed then, and
// whether the window was complete.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(const QPointer<ui::frmSplash>& splash) : splash_(splash) {}
    int shows = 0;
    bool splashExistedAtShow = false;
    bool completeAtShow = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            ++shows;
            splashExistedAtShow = splashExistedAtShow || !splash_.isNull();
            completeAtShow = complete(watched);
        }
        return false;
    }

private:
    const QPointer<ui::frmSplash>& splash_;
};

struct Fakes {
    test::FakeClipboard clipboard;
    test::FakeMessageBoxes messages;
    test::FakeSettingsStore settings;
    test::FakeWindowList windows;
    int aboutOpenings = 0;

    ui::MainWindowServices services() {
        return {clipboard,
                messages,
                settings,
                windows,
                platform::AppInfo{QStringLiteral("Quillmark"), 2, 0, 0},
                [this](QWidget*) { ++aboutOpenings; },
                [](const QString&) {}};
    }
};

QStringList windowNames(const test::FakeWindowList& windows) {
    QStringList names;
    for (const QWidget* window : windows.windows) names << window->objectName();
    return names;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void splashShownMainLoadedHidden() {
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        QVERIFY(started.splash->isVisible());
        QVERIFY(!started.main->isVisible());
        QCOMPARE(started.main->windowTitle(), QStringLiteral("Quillmark V2.0 Rev:0"));
        QCOMPARE(windowNames(fakes.windows), QStringList({"frmSplash", "frmMain"}));
        // The main window's load step ran inside the splash timer's 5000 ms.
        QVERIFY(started.splash->findChild<QTimer*>("Timer1")->isActive());
        delete started.splash.data();
        delete started.main.data();
    }

    void handOverByClick_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("where");
        QTest::newRow("frame") << "fraMainFrame" << QPoint(470, 100);
        QTest::newRow("logo") << "picLogo" << QPoint(38, 38);
        QTest::newRow("version line") << "lblDevName" << QPoint(10, 8);
    }
    void handOverByClick() {
        QFETCH(QString, control);
        QFETCH(QPoint, where);
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        ShowWatcher watcher(started.splash);
        started.main->installEventFilter(&watcher);
        QPointer<QTimer> timer = started.splash->findChild<QTimer*>("Timer1");

        // At once, before the splash has been painted: the controls are still to be built.
        QTest::mouseClick(started.splash->findChild<QWidget*>(control), Qt::LeftButton, {}, where);

        QTRY_VERIFY(started.main->isVisible());
        QVERIFY(started.splash.isNull());
        QVERIFY(timer.isNull());
        QVERIFY(!watcher.splashExistedAtShow);
        QVERIFY(watcher.completeAtShow);
        QVERIFY(!started.main->windowIcon().isNull());
        QCOMPARE(started.main->pos(), QPoint(0, 0));
        QCOMPARE(windowNames(fakes.windows), QStringList({"frmMain"}));
        // Nothing is left that could hand over a second time.
        QTest::qWait(50);
        QCOMPARE(watcher.shows, 1);
        delete started.main.data();
    }

    void handOverByTimer() {
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        ShowWatcher watcher(started.splash);
        started.main->installEventFilter(&watcher);

        started.splash->findChild<QTimer*>("Timer1")->setInterval(1);

        QTRY_VERIFY(started.main->isVisible());
        QVERIFY(started.splash.isNull());
        QVERIFY(!watcher.splashExistedAtShow);
        QVERIFY(watcher.completeAtShow);
        QCOMPARE(watcher.shows, 1);
        delete started.main.data();
    }

    // Once the splash is on the screen the main window builds its controls, still hidden, and
    // keeps the placement and caption of its load step.
    void controlsBuiltWhileTheSplashShows() {
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        QVERIFY(!complete(started.main));
        QVERIFY(QTest::qWaitForWindowExposed(started.splash));
        QTRY_VERIFY(complete(started.main));
        QVERIFY(started.splash->isVisible());
        QVERIFY(!started.main->isVisible());
        QCOMPARE(started.main->pos(), QPoint(0, 0));
        QCOMPARE(started.main->windowTitle(), QStringLiteral("Quillmark V2.0 Rev:0"));
        QVERIFY(!started.main->windowIcon().isNull());
        delete started.splash.data();
        delete started.main.data();
    }

    // With the splash closed and the main window not yet shown, no window is visible for a
    // moment; in the running event loop that must not end the program.
    void handOverKeepsTheProgramRunning() {
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(started.splash->findChild<QWidget*>("lblEval"), Qt::LeftButton);
        });
        QTimer::singleShot(1000, [] { QCoreApplication::exit(42); });
        QCOMPARE(QCoreApplication::exec(), 42);
        QVERIFY(started.main->isVisible());
        delete started.main.data();
    }

    void clickThenTimerHandsOverOnce() {
        Fakes fakes;
        const auto started = ui::Module1::Main(fakes.services());
        ShowWatcher watcher(started.splash);
        started.main->installEventFilter(&watcher);
        QTimer* timer = started.splash->findChild<QTimer*>("Timer1");
        timer->setInterval(20);

        QTest::mouseClick(started.splash->findChild<QWidget*>("lblAppName"), Qt::LeftButton);
        QTRY_VERIFY(started.main->isVisible());
        // The user hides the main window again; a late tick must not bring it back.
        started.main->hide();
        QTest::qWait(100);
        QVERIFY(!started.main->isVisible());
        QCOMPARE(watcher.shows, 1);
        delete started.main.data();
    }
};

QTEST_MAIN(StartupTest)
#include "tst_Module1.moc"
