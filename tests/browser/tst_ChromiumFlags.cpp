// SPDX-License-Identifier: MIT
// Engine options from the environment: values with blanks must reach the engine whole.
#include <QTest>

#include "ui/shell/browser/ChromiumFlags.h"

using quillmark::ui::joinedChromiumFlags;

class tst_ChromiumFlags : public QObject {
    Q_OBJECT

private slots:
    void joinsAndQuotes_data() {
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("expected");
        QTest::newRow("host rule written with blanks")
            << "--host-resolver-rules=MAP www.nortel.com 127.0.0.1:8080"
            << "--host-resolver-rules=\"MAP www.nortel.com 127.0.0.1:8080\"";
        QTest::newRow("two rules, other options around")
            << "--disable-gpu --host-resolver-rules=MAP a 127.0.0.1:1, MAP b 127.0.0.1:2 "
               "--no-sandbox"
            << "--disable-gpu --host-resolver-rules=\"MAP a 127.0.0.1:1, MAP b 127.0.0.1:2\" "
               "--no-sandbox";
        QTest::newRow("runs of blanks fold into one")
            << "  --host-resolver-rules=MAP  x   127.0.0.1:1 "
            << "--host-resolver-rules=\"MAP x 127.0.0.1:1\"";
    }
    void joinsAndQuotes() {
        QFETCH(QString, flags);
        QFETCH(QString, expected);
        QCOMPARE(joinedChromiumFlags(flags), expected);
    }

    void leavesAlone_data() {
        QTest::addColumn<QString>("flags");
        QTest::newRow("empty") << "";
        QTest::newRow("options without blanks in values") << "--disable-gpu --lang=en  --foo";
        QTest::newRow("already quoted by the user")
            << "--host-resolver-rules=\"MAP www.nortel.com 127.0.0.1:8080\"";
        QTest::newRow("a word with no option before it") << "word --disable-gpu";
        QTest::newRow("a word after an option without value") << "--disable-gpu word";
    }
    void leavesAlone() {
        QFETCH(QString, flags);
        QCOMPARE(joinedChromiumFlags(flags), flags);
    }
};

QTEST_APPLESS_MAIN(tst_ChromiumFlags)
#include "tst_ChromiumFlags.moc"
