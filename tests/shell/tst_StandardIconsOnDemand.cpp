// SPDX-License-Identifier: MIT
// The application style that reads the bars' overflow pictures when first drawn: building a
// menu bar loads no image plugin, and the picture drawn is the style's own.
#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include "ui/shell/StandardIconsOnDemand.h"

using namespace quillmark;

namespace {

bool imagePluginLoaded() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

}  // namespace

class StandardIconsOnDemandTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        chosen_ = QApplication::style()->name();
        ui::useStandardIconsOnDemand();
    }

    // First, while nothing else in this process has read a picture.
    void menuBarBuiltWithoutImagePlugins() {
        QMainWindow window;
        window.menuBar()->addMenu(QStringLiteral("&File"));
        QVERIFY(!imagePluginLoaded());
        QVERIFY(dynamic_cast<ui::StandardIconsOnDemand*>(QApplication::style()));
    }

    void keepsTheChosenStyle() {
        QVERIFY(!chosen_.isEmpty());
        QCOMPARE(static_cast<QProxyStyle*>(QApplication::style())->baseStyle()->name(), chosen_);
    }

    void samePictureWhenDrawn_data() {
        QTest::addColumn<QStyle::StandardPixmap>("which");
        QTest::addColumn<int>("side");
        QTest::newRow("menu bar overflow") << QStyle::SP_ToolBarHorizontalExtensionButton << 16;
        QTest::newRow("tool bar overflow") << QStyle::SP_ToolBarVerticalExtensionButton << 16;
        QTest::newRow("other pictures at once") << QStyle::SP_DialogOkButton << 32;
    }
    void samePictureWhenDrawn() {
        QFETCH(QStyle::StandardPixmap, which);
        QFETCH(int, side);
        const auto* style = static_cast<QProxyStyle*>(QApplication::style());
        const QIcon own = style->baseStyle()->standardIcon(which);
        const QIcon icon = style->standardIcon(which);
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.availableSizes(), own.availableSizes());
        const QImage drawn = icon.pixmap(QSize(side, side), 1.0).toImage();
        QVERIFY(!drawn.isNull());
        QCOMPARE(drawn, own.pixmap(QSize(side, side), 1.0).toImage());
    }

private:
    QString chosen_;
};

QTEST_MAIN(StandardIconsOnDemandTest)
#include "tst_StandardIconsOnDemand.moc"
