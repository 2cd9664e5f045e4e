// SPDX-License-Identifier: MIT
// Finding and loading the browser module, without ever loading the web engine.
#include <QOpenGLContext>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/support/PlatformFakes.h"
#include "ui/shell/browser/BrowserModule.h"
#include "ui/shell/browser/OpenBrowser.h"

using quillmark::ui::browserModuleDirectory;
using quillmark::ui::loadBrowserEngineFactory;

class BrowserModuleTest : public QObject {
    Q_OBJECT

private slots:
    // First, while nothing has been loaded: the context the engine draws with is made by the
    // first attempt to load it, once, and not by starting the program.
    void load_makesTheSharedOpenGLContextOnce() {
        QCOMPARE(QOpenGLContext::globalShareContext(), nullptr);
        QVERIFY(!QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
        QTemporaryDir empty;
        qputenv("QUILLMARK_BROWSER_MODULE_DIR", empty.path().toUtf8());
        QString error;
        QCOMPARE(loadBrowserEngineFactory(&error), nullptr);
        QOpenGLContext* const shared = QOpenGLContext::globalShareContext();
        QVERIFY(shared != nullptr);
        QVERIFY(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
        QCOMPARE(loadBrowserEngineFactory(&error), nullptr);
        QCOMPARE(QOpenGLContext::globalShareContext(), shared);
    }

    void directory_isBesideTheProgramByDefault() {
        qunsetenv("QUILLMARK_BROWSER_MODULE_DIR");
        const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../" +
                                                 QStringLiteral("lib"));
        QVERIFY2(browserModuleDirectory().startsWith(expected),
                 qPrintable(browserModuleDirectory()));
        QVERIFY(browserModuleDirectory().endsWith(QStringLiteral("/quillmark")));
    }

    void directory_followsTheEnvironment() {
        qputenv("QUILLMARK_BROWSER_MODULE_DIR", "/opt/elsewhere");
        QCOMPARE(browserModuleDirectory(), QStringLiteral("/opt/elsewhere"));
    }

    void load_missingModuleReportsWhyAndRetries() {
        QTemporaryDir empty;
        qputenv("QUILLMARK_BROWSER_MODULE_DIR", empty.path().toUtf8());
        for (int attempt = 0; attempt < 2; ++attempt) {
            QString error;
            QCOMPARE(loadBrowserEngineFactory(&error), nullptr);
            QVERIFY2(error.contains(QStringLiteral("quillmark_webengine")), qPrintable(error));
        }
    }

    void load_fileThatIsNoModuleIsRefused() {
        QTemporaryDir dir;
        QFile junk(dir.filePath(QStringLiteral("libquillmark_webengine.so")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a shared library");
        junk.close();
        qputenv("QUILLMARK_BROWSER_MODULE_DIR", dir.path().toUtf8());
        QString error;
        QCOMPARE(loadBrowserEngineFactory(&error), nullptr);
        QVERIFY(!error.isEmpty());
    }

    // The Web menu's opener tells the user through the program's message boxes; the window it
    // showed at once goes.
    void open_withoutModuleSaysWhyAndLeavesNoWindow() {
        QTemporaryDir empty;
        qputenv("QUILLMARK_BROWSER_MODULE_DIR", empty.path().toUtf8());
        quillmark::test::FakeWindowList windows;
        quillmark::test::FakeMessageBoxes messages;
        quillmark::ui::openBrowserWindow(QStringLiteral("http://www.nortel.com"), windows,
                                         messages);
        QTRY_COMPARE(messages.shown.size(), 1);
        QTRY_COMPARE(windows.count(), 0);
        QVERIFY(messages.shown.first().startsWith(
            QStringLiteral("The web browser could not be started.")));
        QVERIFY(messages.shown.first().contains(QStringLiteral("quillmark_webengine")));
    }
};

QTEST_MAIN(BrowserModuleTest)
#include "tst_BrowserModule.moc"
