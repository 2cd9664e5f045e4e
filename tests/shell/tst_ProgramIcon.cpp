// SPDX-License-Identifier: MIT
// The program icon compiled into the program: every size there and drawn, and reading it loads
// neither an image format plugin nor the SVG library.
#include <QFile>
#include <QImage>
#include <QTest>

#include "resources/ProgramIcon.h"

using namespace quillmark;

namespace {

QString mappedFiles() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) ? QString::fromLatin1(maps.readAll()) : QString();
}

// The tile's rounded corner is mostly see-through, its middle is solid.
void verifyDrawn(const QPixmap& picture) {
    const QImage image = picture.toImage();
    QVERIFY(!image.isNull());
    QVERIFY(qAlpha(image.pixel(0, 0)) < 128);
    QCOMPARE(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
}

}  // namespace

class ProgramIconTest : public QObject {
    Q_OBJECT
private slots:
    // First, while nothing else in this process has read a picture.
    void readsNoImagePlugin() {
        const QIcon icon = resources::programIcon();
        const QPixmap picture = resources::programPicture(72, 2.0);
        QVERIFY(!icon.isNull());
        QVERIFY(!picture.isNull());
        const QString files = mappedFiles();
        QVERIFY(!files.isEmpty());
        QVERIFY2(!files.contains(QLatin1String("/imageformats/")), "an image plugin was loaded");
        QVERIFY2(!files.contains(QLatin1String("libQt6Svg")), "the SVG library was loaded");
    }

    void windowIconSizes_data() {
        QTest::addColumn<int>("side");
        for (int side : resources::kWindowIconSides) QTest::addRow("%d", side) << side;
    }
    void windowIconSizes() {
        QFETCH(int, side);
        const QIcon icon = resources::programIcon();
        QVERIFY(icon.availableSizes().contains(QSize(side, side)));
        const QPixmap picture = icon.pixmap(QSize(side, side), 1.0);
        QCOMPARE(picture.size(), QSize(side, side));
        verifyDrawn(picture);
    }

    void picture_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<qreal>("ratio");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("splash and about box") << 72 << 1.0 << QSize(72, 72);
        QTest::newRow("double density") << 72 << 2.0 << QSize(144, 144);
        QTest::newRow("between compiled sizes") << 72 << 1.5 << QSize(108, 108);
        QTest::newRow("above the largest") << 100 << 2.0 << QSize(200, 200);
        QTest::newRow("below the smallest") << 8 << 1.0 << QSize(8, 8);
    }
    void picture() {
        QFETCH(int, side);
        QFETCH(qreal, ratio);
        QFETCH(QSize, pixels);
        const QPixmap picture = resources::programPicture(side, ratio);
        QCOMPARE(picture.size(), pixels);
        QCOMPARE(picture.deviceIndependentSize(), QSizeF(side, side));
        verifyDrawn(picture);
    }
};

QTEST_MAIN(ProgramIconTest)
#include "tst_ProgramIcon.moc"
