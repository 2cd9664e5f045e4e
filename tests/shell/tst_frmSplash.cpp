// SPDX-License-Identifier: MIT
// The splash window on its own: version line, Timer1, and the clicks that unload it.
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "platform/AppInfo.h"
#include "ui/shell/frmSplash.h"

using quillmark::platform::AppInfo;
using quillmark::ui::frmSplash;

Q_DECLARE_METATYPE(AppInfo)

namespace {

AppInfo version(int major, int minor, int revision) {
    return AppInfo{QStringLiteral("Quillmark"), major, minor, revision};
}

QPointer<frmSplash> openSplash(const AppInfo& app = version(2, 0, 0)) {
    QPointer<frmSplash> splash = new frmSplash(app);
    splash->show();
    return splash;
}

}  // namespace

class SplashTest : public QObject {
    Q_OBJECT
private slots:
    void versionLine_data() {
        QTest::addColumn<AppInfo>("app");
        QTest::addColumn<QString>("line");
        QTest::newRow("2.0.0") << version(2, 0, 0)
                               << QStringLiteral("Developer: Ashgrove        Quillmark V2.0 Rev:0");
        QTest::newRow("revision 12")
            << version(2, 0, 12)
            << QStringLiteral("Developer: Ashgrove        Quillmark V2.0 Rev:12");
        QTest::newRow("two-digit major and minor")
            << version(10, 3, 7)
            << QStringLiteral("Developer: Ashgrove        Quillmark V10.3 Rev:7");
    }
    void versionLine() {
        QFETCH(AppInfo, app);
        QFETCH(QString, line);
        frmSplash splash(app);
        QCOMPARE(splash.findChild<QLabel*>("lblDevName")->text(), line);
    }

    void fixedTexts_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("name") << "lblAppName"
                              << "Quillmark";
        QTest::newRow("description") << "lblAppDesc"
                                     << "Nortel BUG Message Decoder";
        QTest::newRow("web site") << "lblEval"
                                  << "ashgrove.dev";
        QTest::newRow("copyright") << "lblCopyright" << QStringLiteral("\u00A9 2026 Ashgrove");
    }
    void fixedTexts() {
        QFETCH(QString, label);
        QFETCH(QString, text);
        frmSplash splash(version(2, 0, 0));
        QCOMPARE(splash.findChild<QLabel*>(label)->text(), text);
    }

    // Texts laid out for Tahoma must still fit their labels in the face that stands in for it.
    void everyTextFitsItsLabel() {
        frmSplash splash(version(2, 0, 12));
        const auto labels = splash.findChildren<QLabel*>();
        QCOMPARE(labels.size(), 6);  // the logo and five texts
        for (const QLabel* label : labels) {
            if (label->text().isEmpty()) continue;
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height(), qPrintable(label->objectName()));
        }
    }

    void geometry() {
        frmSplash splash(version(2, 0, 0));
        // 7215 x 2850 twips of client area inside a one-pixel border.
        QCOMPARE(splash.size(), QSize(481 + 2, 190 + 2));
        QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
        // 120, 2640, 5775, 255 twips inside the client area, which starts inside the border.
        const auto* devName = splash.findChild<QLabel*>("lblDevName");
        QCOMPARE(QRect(devName->mapTo(&splash, QPoint(0, 0)), devName->size()),
                 QRect(1 + 8, 1 + 176, 385, 17));
        QCOMPARE(splash.findChild<QLabel*>("picLogo")->pixmap().deviceIndependentSize(),
                 QSizeF(72, 72));
    }

    void timerCountsFromLoad() {
        frmSplash splash(version(2, 0, 0));
        const auto* timer = splash.findChild<QTimer*>("Timer1");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 5000);
    }

    void clickUnloadsTheSplash_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("frame's empty area") << "fraMainFrame";
        QTest::newRow("logo") << "picLogo";
        QTest::newRow("name") << "lblAppName";
        QTest::newRow("description") << "lblAppDesc";
        QTest::newRow("web site") << "lblEval";
        QTest::newRow("version line") << "lblDevName";
        QTest::newRow("copyright") << "lblCopyright";
    }
    void clickUnloadsTheSplash() {
        QFETCH(QString, control);
        QPointer<frmSplash> splash = openSplash();
        auto* target = splash->findChild<QWidget*>(control);
        QPointer<QTimer> timer = splash->findChild<QTimer*>("Timer1");
        QSignalSpy destroyed(splash.data(), &QObject::destroyed);

        // The frame's own corner lies under the border, so click where the frame shows.
        const QPoint where =
            control == QLatin1String("fraMainFrame") ? QPoint(470, 100) : target->rect().center();
        QTest::mouseClick(target, Qt::LeftButton, {}, where);

        QVERIFY(!splash->isVisible());
        QVERIFY(!timer->isActive());
        QTRY_VERIFY(splash.isNull());
        QVERIFY(timer.isNull());
        QCOMPARE(destroyed.count(), 1);
    }

    void timerUnloadsTheSplash() {
        QPointer<frmSplash> splash = openSplash();
        // Only the interval is shortened: the tick itself takes the ordinary way.
        splash->findChild<QTimer*>("Timer1")->setInterval(1);
        QTRY_VERIFY(splash.isNull());
    }

    void closingByTheWindowSystemUnloadsToo() {
        QPointer<frmSplash> splash = openSplash();
        QVERIFY(splash->close());
        QTRY_VERIFY(splash.isNull());
    }
};

QTEST_MAIN(SplashTest)
#include "tst_frmSplash.moc"
