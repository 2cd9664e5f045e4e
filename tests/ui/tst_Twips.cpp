// SPDX-License-Identifier: MIT
// The one twips-to-pixels rule every window is laid out with.
#include <QTest>

#include "ui/common/Twips.h"

using namespace quillmark::ui;

class tst_Twips : public QObject {
    Q_OBJECT
private slots:
    void nearestPixel_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("whole pixels") << 1680 << 112;
        QTest::newRow("main window width") << 8790 << 586;
        QTest::newRow("about box OK button, 97.8") << 1467 << 98;
        QTest::newRow("about box text width, 272.8") << 4092 << 273;
        QTest::newRow("about box rule, 377.1") << 5657 << 377;
        QTest::newRow("just under half") << 7 << 0;
        QTest::newRow("just over half") << 8 << 1;
        QTest::newRow("splash frame above the client area") << -120 << -8;
        QTest::newRow("negative, just over half") << -8 << -1;
        QTest::newRow("negative, just under half") << -7 << 0;
    }
    void nearestPixel() {
        QFETCH(int, twips);
        QFETCH(int, pixels);
        QCOMPARE(twipsToPixels(twips), pixels);
    }
    void rectangleConvertsEachSide() {
        QCOMPARE(twipsRect(4245, 2625, 1467, 345), QRect(283, 175, 98, 23));
        static_assert(twipsSize(8790, 6345) == QSize(586, 423));
    }
};

QTEST_MAIN(tst_Twips)
#include "tst_Twips.moc"
