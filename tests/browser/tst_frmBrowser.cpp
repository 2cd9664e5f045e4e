// SPDX-License-Identifier: MIT
// The browser window's history, caption, timer and layout rules, against a scripted engine.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "tests/browser/FakeBrowserEngine.h"
#include "ui/shell/browser/frmBrowser.h"

using quillmark::test::FakeBrowserEngine;
using quillmark::ui::frmBrowser;

namespace {

const QString kStart = QStringLiteral("http://www.nortel.com");

// A browser window with its engine, shown on a starting address.
struct OpenWindow {
    explicit OpenWindow(const QString& startingAddress = kStart, bool startsAtOnce = false) {
        auto owned = std::make_unique<FakeBrowserEngine>();
        engine = owned.get();
        engine->startsAtOnce = startsAtOnce;
        window = new frmBrowser(std::move(owned));
        window->setStartingAddress(startingAddress);
        window->show();
    }
    ~OpenWindow() { delete window.data(); }

    QComboBox* address() const {
        return window->findChild<QComboBox*>(QStringLiteral("cboAddress"));
    }
    QTimer* timer() const { return window->findChild<QTimer*>(QStringLiteral("timTimer")); }
    QWidget* page() const { return window->findChild<QWidget*>(QStringLiteral("brwWebBrowser")); }
    QAction* button(const QString& key) const { return window->findChild<QAction*>(key); }
    QStringList history() const {
        QStringList items;
        for (int i = 0; i < address()->count(); ++i) items << address()->itemText(i);
        return items;
    }

    // Clicks into the address box of the active window and replaces its text by typing, with
    // the keys going in through the window as the window system delivers them: to the focus
    // widget, which the click has made the box itself.
    [[nodiscard]] bool typeAddress(const QString& typed) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window)) return false;
        QTest::mouseClick(address()->lineEdit(), Qt::LeftButton);
        if (!QTest::qWaitFor([this] { return QApplication::focusWidget() == address(); }))
            return false;
        QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        for (const QChar c : typed) QTest::keyClick(window->windowHandle(), c.toLatin1());
        return address()->currentText() == typed;
    }
    void pressEnter(Qt::Key key = Qt::Key_Return) {
        QTest::keyClick(window->windowHandle(), key,
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    }

    [[nodiscard]] bool chooseFromList(int row) {
        address()->showPopup();
        QAbstractItemView* list = address()->view();
        if (!QTest::qWaitFor([list] { return list->isVisible(); })) return false;
        const QRect item = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        return true;
    }

    QPointer<frmBrowser> window;
    FakeBrowserEngine* engine = nullptr;
};

}  // namespace

class FrmBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void load_fillsAddressHistoryAndStartsNavigation();
    void load_withoutStartingAddressNavigatesNowhere();
    void navigateComplete_history_data();
    void navigateComplete_history();
    void navigateComplete_programSelectionDoesNotNavigate();
    void windows_keepSeparateHistories();
    void addressBox_listChoiceNavigates();
    void addressBox_typingWithoutEnterDoesNothing();
    void addressBox_enterNavigatesOnce_data();
    void addressBox_enterNavigatesOnce();
    void working_fromRequestUntilLoaded_data();
    void working_fromRequestUntilLoaded();
    void toolbar_buttons_data();
    void toolbar_buttons();
    void toolbar_stopShowsLocationAtOnce();
    void toolbar_backInFreshWindow();
    void resize_tooSmallKeepsLastValidSizes();
    void close_deletesWindowAndEngine();
    void slowEngine_madeOnceTheWindowIsOnTheScreen();
};

void FrmBrowserTest::load_fillsAddressHistoryAndStartsNavigation() {
    OpenWindow w;
    QCOMPARE(w.address()->currentText(), kStart);
    QCOMPARE(w.history(), QStringList{kStart});
    QCOMPARE(w.engine->calls, QStringList{QStringLiteral("navigate ") + kStart});
    QVERIFY(w.timer()->isActive());
    QCOMPARE(w.timer()->interval(), 5);
    // The address box sits below its label after loading: 60 + 255 + 15 twips.
    QCOMPARE(w.address()->pos(), QPoint(3, 22));
}

void FrmBrowserTest::load_withoutStartingAddressNavigatesNowhere() {
    OpenWindow w(QString{});
    QVERIFY(w.engine->calls.isEmpty());
    QCOMPARE(w.address()->count(), 0);
    QVERIFY(!w.timer()->isActive());
    QCOMPARE(w.window->windowTitle(), QString());
}

void FrmBrowserTest::navigateComplete_history_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("expected");
    const QString a = QStringLiteral("http://a.example/");
    const QString b = QStringLiteral("http://b.example/");
    const QString c = QStringLiteral("http://c.example/");

    QTest::newRow("starting address kept below the reported form")
        << kStart << QStringList{kStart + "/"} << QStringList{kStart + "/", kStart};
    QTest::newRow("reported form equal to the starting address replaces it")
        << a << QStringList{a} << QStringList{a};
    QTest::newRow("newest first") << a << QStringList{a, b, c} << QStringList{c, b, a};
    QTest::newRow("revisit of the oldest entry moves it to the top")
        << a << QStringList{a, b, c, a} << QStringList{a, c, b};
    QTest::newRow("revisit of the top entry leaves one entry")
        << a << QStringList{a, b, b, b} << QStringList{b, a};
    QTest::newRow("addresses are compared case-sensitively")
        << a
        << QStringList{a, QStringLiteral("http://a.example/X"),
                       QStringLiteral("http://a.example/x")}
        << QStringList{QStringLiteral("http://a.example/x"), QStringLiteral("http://a.example/X"),
                       a};
}

void FrmBrowserTest::navigateComplete_history() {
    QFETCH(QString, start);
    QFETCH(QStringList, reported);
    QFETCH(QStringList, expected);
    OpenWindow w(start);
    for (const QString& address : reported) w.engine->complete(address, QStringLiteral("Title"));
    QCOMPARE(w.history(), expected);
    QCOMPARE(w.address()->currentIndex(), 0);
    QCOMPARE(w.address()->currentText(), expected.first());
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Title"));
}

void FrmBrowserTest::navigateComplete_programSelectionDoesNotNavigate() {
    OpenWindow w;
    w.engine->complete(kStart + "/", QStringLiteral("Home"));
    w.engine->complete(QStringLiteral("http://www.nortel.com/products"),
                       QStringLiteral("Products"));
    w.engine->complete(kStart + "/", QStringLiteral("Home"));
    QCOMPARE(w.engine->navigations(), QStringList{QStringLiteral("navigate ") + kStart});
}

void FrmBrowserTest::windows_keepSeparateHistories() {
    OpenWindow first;
    OpenWindow second;
    first.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    first.engine->complete(QStringLiteral("http://www.nortel.com/support"),
                           QStringLiteral("Support"));
    second.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    QCOMPARE(first.history(),
             (QStringList{QStringLiteral("http://www.nortel.com/support"), kStart + "/", kStart}));
    QCOMPARE(second.history(), (QStringList{kStart + "/", kStart}));
    QCOMPARE(first.window->windowTitle(), QStringLiteral("Support"));
    QCOMPARE(second.window->windowTitle(), QStringLiteral("Nortel"));
}

void FrmBrowserTest::addressBox_listChoiceNavigates() {
    OpenWindow w;
    w.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    w.timer()->stop();
    w.engine->calls.clear();

    QVERIFY(w.chooseFromList(1));

    QCOMPARE(w.engine->calls, QStringList{QStringLiteral("navigate ") + kStart});
    QVERIFY(w.timer()->isActive());
}

void FrmBrowserTest::addressBox_typingWithoutEnterDoesNothing() {
    OpenWindow w;
    w.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    w.engine->calls.clear();
    // Text equal to an older entry, then the focus moves on to the page.
    QVERIFY(w.typeAddress(kStart));
    w.page()->setFocusPolicy(Qt::StrongFocus);
    QTest::keyClick(w.window->windowHandle(), Qt::Key_Tab);
    QTRY_VERIFY(!w.address()->hasFocus());
    QVERIFY(w.engine->calls.isEmpty());
    QCOMPARE(w.history(), (QStringList{kStart + "/", kStart}));
}

void FrmBrowserTest::addressBox_enterNavigatesOnce_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::newRow("new address, Return")
        << QStringLiteral("groups.example/nortel") << int(Qt::Key_Return);
    QTest::newRow("new address, keypad Enter")
        << QStringLiteral("groups.example/nortel") << int(Qt::Key_Enter);
    QTest::newRow("address already in the list") << kStart << int(Qt::Key_Return);
    QTest::newRow("current entry unchanged") << kStart + "/" << int(Qt::Key_Return);
}

void FrmBrowserTest::addressBox_enterNavigatesOnce() {
    QFETCH(QString, typed);
    QFETCH(int, key);
    OpenWindow w;
    w.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    w.timer()->stop();
    w.engine->calls.clear();
    QVERIFY(w.typeAddress(typed));
    QVERIFY(w.engine->calls.isEmpty());
    w.pressEnter(Qt::Key(key));
    QCOMPARE(w.engine->calls, QStringList{QStringLiteral("navigate ") + typed});
    QVERIFY(w.timer()->isActive());
    // The box adds nothing itself: the history changes only when a navigation completes.
    QCOMPARE(w.history(), (QStringList{kStart + "/", kStart}));
}

void FrmBrowserTest::working_fromRequestUntilLoaded_data() {
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("startsAtOnce");
    for (const char* request :
         {"opening", "typed address", "list choice", "Home", "Search", "Refresh", "Forward"}) {
        QTest::addRow("%s, engine starts later", request) << request << false;
        QTest::addRow("%s, engine starts at once", request) << request << true;
    }
}

// "Working..." stands from the request until the page has loaded, also while the engine has not
// yet begun to load it.
void FrmBrowserTest::working_fromRequestUntilLoaded() {
    QFETCH(QString, request);
    QFETCH(bool, startsAtOnce);
    OpenWindow w(kStart, startsAtOnce);
    if (request != QLatin1String("opening")) {
        w.engine->complete(kStart + "/", QStringLiteral("Nortel"));
        QTRY_VERIFY(!w.timer()->isActive());
        if (request == QLatin1String("typed address")) {
            QVERIFY(w.typeAddress(QStringLiteral("groups.example/nortel")));
            w.pressEnter();
        } else if (request == QLatin1String("list choice")) {
            QVERIFY(w.chooseFromList(1));
        } else {
            w.button(request)->trigger();
        }
    }
    QCOMPARE(w.engine->calls.size(), request == QLatin1String("opening") ? 1 : 2);

    QSignalSpy ticks(w.timer(), &QTimer::timeout);
    QTRY_VERIFY(ticks.count() >= 3);
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Working..."));
    w.engine->startLoading();
    ticks.clear();
    QTRY_VERIFY(ticks.count() >= 3);
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Working..."));
    w.engine->complete(QStringLiteral("http://groups.example/nortel"), QStringLiteral("Loaded"));
    QTRY_VERIFY(!w.timer()->isActive());
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Loaded"));
}

void FrmBrowserTest::toolbar_buttons_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("call");
    const char* const buttons[][2] = {{"Back", "back"}, {"Forward", "forward"},
                                      {"Stop", "stop"}, {"Refresh", "refresh"},
                                      {"Home", "home"}, {"Search", "search"}};
    for (const auto& [key, call] : buttons) QTest::newRow(key) << QString(key) << QString(call);
}

void FrmBrowserTest::toolbar_buttons() {
    QFETCH(QString, key);
    QFETCH(QString, call);
    OpenWindow w;
    w.engine->calls.clear();
    QAction* action = w.button(key);
    QVERIFY(action);
    QCOMPARE(action->toolTip(), key);
    QVERIFY(!action->icon().pixmap(24, 24).isNull());
    auto* toolbar = w.window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    QTest::mouseClick(toolbar->widgetForAction(action), Qt::LeftButton);
    QCOMPARE(w.engine->calls, QStringList{call});
}

void FrmBrowserTest::toolbar_stopShowsLocationAtOnce() {
    for (const bool started : {false, true}) {
        OpenWindow w;
        w.engine->title = QStringLiteral("Nortel");
        if (started) w.engine->startLoading();
        QTRY_COMPARE(w.window->windowTitle(), QStringLiteral("Working..."));
        w.button(QStringLiteral("Stop"))->trigger();
        QCOMPARE(w.window->windowTitle(), QStringLiteral("Nortel"));
        QVERIFY(!w.timer()->isActive());
        QVERIFY(!w.engine->busy());
        QVERIFY(w.engine->calls.contains(QStringLiteral("stop")));
    }
}

void FrmBrowserTest::toolbar_backInFreshWindow() {
    OpenWindow w;
    w.engine->complete(kStart + "/", QStringLiteral("Nortel"));
    QTRY_VERIFY(!w.timer()->isActive());
    const QStringList history = w.history();
    w.button(QStringLiteral("Back"))->trigger();
    QVERIFY(w.timer()->isActive());
    QTRY_VERIFY(!w.timer()->isActive());
    QCOMPARE(w.window->windowTitle(), QStringLiteral("Nortel"));
    QCOMPARE(w.history(), history);
}

void FrmBrowserTest::resize_tooSmallKeepsLastValidSizes() {
    OpenWindow w;
    w.window->resize(700, 487);
    QTRY_COMPARE(w.page()->size(), QSize(693, 399));  // 10500-100 by 7305-1315 twips
    QCOMPARE(w.address()->width(), 693);

    struct Step {
        QSize client;
        QSize page;
        int addressWidth;
    };
    // 6 pixels are 90 twips: narrower than the margin. 80 pixels are 1200 twips: lower than the
    // panel's bottom plus the margin.
    const Step steps[] = {
        {{600, 80}, {593, 399}, 593},
        {{6, 300}, {593, 212}, 593},
        {{6, 6}, {593, 212}, 593},
        {{800, 88}, {793, 0}, 793},
    };
    for (const Step& step : steps) {
        w.window->resize(step.client);
        QTRY_COMPARE(w.window->size(), step.client);
        QCOMPARE(w.page()->size(), step.page);
        QCOMPARE(w.address()->width(), step.addressWidth);
    }
}

void FrmBrowserTest::close_deletesWindowAndEngine() {
    OpenWindow w;
    QPointer<QWidget> page = w.engine->page;
    QVERIFY(w.window->close());
    QTRY_VERIFY(w.window.isNull());
    QVERIFY(page.isNull());
}

// An engine takes seconds to start: the window is on the screen, reading "Working...", before
// it is asked for one, and then goes on as with an engine given at once.
void FrmBrowserTest::slowEngine_madeOnceTheWindowIsOnTheScreen() {
    FakeBrowserEngine* engine = nullptr;
    QString seenWhenMade;
    QPointer<frmBrowser> window = new frmBrowser([&]() -> std::unique_ptr<FakeBrowserEngine> {
        const bool shown = window && window->windowHandle() && window->windowHandle()->isExposed();
        seenWhenMade = shown ? window->windowTitle() : QStringLiteral("not on the screen");
        auto made = std::make_unique<FakeBrowserEngine>();
        engine = made.get();
        return made;
    });
    window->setStartingAddress(kStart);
    window->show();
    QVERIFY(!engine);
    QTRY_VERIFY(engine);
    QCOMPARE(seenWhenMade, QStringLiteral("Working..."));
    QCOMPARE(engine->calls, QStringList{QStringLiteral("navigate ") + kStart});
    QCOMPARE(window->findChild<QWidget*>(QStringLiteral("brwWebBrowser")), engine->page.data());
    delete window.data();
}

QTEST_MAIN(FrmBrowserTest)
#include "tst_frmBrowser.moc"
