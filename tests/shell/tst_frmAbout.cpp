// SPDX-License-Identifier: MIT
// The about box: its texts, its keys, and a fresh box on every opening.
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/AppInfo.h"
#include "tests/support/PlatformFakes.h"
#include "ui/shell/frmAbout.h"

using quillmark::platform::AppInfo;
using quillmark::test::FakeWindowList;
using quillmark::ui::frmAbout;
using quillmark::ui::showAbout;

namespace {

const AppInfo kThisBuild{QStringLiteral("Quillmark"), 2, 0, 0};

const QString kWarning = QStringLiteral(
    "Warning: This product is intended for use by AUTHORISED and  CERTIFIED PERSONS only. No "
    "warranty is granted or implied. This product should be USED AT YOUR OWN RISK!!");

QString labelText(const QWidget* box, const char* name) {
    return box->findChild<QLabel*>(QLatin1String(name))->text();
}

struct Seen {
    QString caption, title, version, description, warning;
    bool modal = false;
    QWidget* parent = nullptr;
    int listedWindows = 0;
};

// Opens the about box the way Help > About does and, while it is open, records what it shows
// and then acts on it; returns once the box has closed.
Seen openAbout(FakeWindowList& windows, QWidget* owner, const std::function<void(QDialog*)>& act) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = Seen{box->windowTitle(),
                    labelText(box, "lblTitle"),
                    labelText(box, "lblVersion"),
                    labelText(box, "lblDescription"),
                    labelText(box, "lblDisclaimer"),
                    box->isModal(),
                    box->parentWidget(),
                    windows.count()};
        act(box);
    });
    showAbout(kThisBuild, windows, owner);
    return seen;
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void texts() {
        frmAbout about(kThisBuild);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quillmark"));
        QCOMPARE(labelText(&about, "lblTitle"), QStringLiteral("Quillmark"));
        QCOMPARE(labelText(&about, "lblVersion"), QStringLiteral("Version 2.0.0"));
        QCOMPARE(labelText(&about, "lblDescription"),
                 QStringLiteral("NORTEL (tm) BUG Message DeCoder"));
        QCOMPARE(labelText(&about, "lblDisclaimer"), kWarning);
        QCOMPARE(kWarning.size(), 166);
        QCOMPARE(about.findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("Close"));
    }

    void versionLine_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("line");
        QTest::newRow("this build") << 2 << 0 << 0 << "Version 2.0.0";
        QTest::newRow("revision 12") << 2 << 0 << 12 << "Version 2.0.12";
        QTest::newRow("all three set") << 10 << 3 << 12 << "Version 10.3.12";
    }
    void versionLine() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, line);
        frmAbout about(AppInfo{QStringLiteral("Quillmark"), major, minor, revision});
        QCOMPARE(labelText(&about, "lblVersion"), line);
    }

    void textsShowAsPlainText() {
        frmAbout about(AppInfo{QStringLiteral("<b>Quillmark</b>"), 2, 0, 0});
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            if (label->pixmap().isNull()) QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }

    // The warning and description wrap inside their labels; nothing may fall below the edge.
    void wrappedTextsFitTheirLabels_data() {
        QTest::addColumn<QString>("label");
        QTest::newRow("warning") << "lblDisclaimer";
        QTest::newRow("description") << "lblDescription";
        QTest::newRow("title") << "lblTitle";
        QTest::newRow("version") << "lblVersion";
    }
    void wrappedTextsFitTheirLabels() {
        QFETCH(QString, label);
        frmAbout about(kThisBuild);
        const auto* shown = about.findChild<QLabel*>(label);
        const QRect needed =
            QFontMetrics(shown->font())
                .boundingRect(QRect(0, 0, shown->width(), 10000), Qt::TextWordWrap, shown->text());
        QVERIFY2(needed.height() <= shown->height(),
                 qPrintable(QStringLiteral("%1 needs %2 pixels, has %3")
                                .arg(label)
                                .arg(needed.height())
                                .arg(shown->height())));
    }

    void closeKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("focusedOn");
        QTest::newRow("Enter on Close") << int(Qt::Key_Return) << "cmdOK";
        QTest::newRow("keypad Enter on Close") << int(Qt::Key_Enter) << "cmdOK";
        QTest::newRow("Esc on Close") << int(Qt::Key_Escape) << "cmdOK";
        QTest::newRow("Enter on the warning") << int(Qt::Key_Return) << "lblDisclaimer";
        QTest::newRow("Esc on the title") << int(Qt::Key_Escape) << "lblTitle";
    }
    void closeKeys() {
        QFETCH(int, key);
        QFETCH(QString, focusedOn);
        QWidget owner;
        FakeWindowList windows;
        windows.add(&owner);
        QPointer<QDialog> opened;
        const Seen seen = openAbout(windows, &owner, [&](QDialog* box) {
            opened = box;
            QTest::keyClick(box->findChild<QWidget*>(focusedOn), Qt::Key(key));
        });
        QVERIFY(!seen.caption.isEmpty());
        QVERIFY(opened.isNull());  // closed and destroyed when the opening returns
        QCOMPARE(windows.count(), 1);
    }

    void closeButton() {
        QWidget owner;
        FakeWindowList windows;
        const Seen seen = openAbout(windows, &owner, [](QDialog* box) {
            QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        QCOMPARE(seen.version, QStringLiteral("Version 2.0.0"));
        QCOMPARE(windows.count(), 0);
    }

    void titleBarCloseClosesToo() {
        QWidget owner;
        FakeWindowList windows;
        openAbout(windows, &owner, [](QDialog* box) { box->close(); });
        QCOMPARE(windows.count(), 0);
    }

    void openedModalOverItsOwner() {
        QWidget owner;
        FakeWindowList windows;
        windows.add(&owner);
        const Seen seen = openAbout(windows, &owner, [](QDialog* box) { box->reject(); });
        QVERIFY(seen.modal);
        QCOMPARE(seen.parent, &owner);
        QCOMPARE(seen.listedWindows, 2);
    }

    void everyOpeningShowsTheSameTexts() {
        QWidget owner;
        FakeWindowList windows;
        QPointer<QDialog> first;
        const Seen once = openAbout(windows, &owner, [&](QDialog* box) {
            first = box;
            box->findChild<QLabel*>("lblVersion")->setText(QStringLiteral("changed"));
            box->accept();
        });
        const Seen twice = openAbout(windows, &owner, [](QDialog* box) { box->accept(); });
        QVERIFY(first.isNull());
        for (const Seen& seen : {once, twice}) {
            QCOMPARE(seen.caption, QStringLiteral("About Quillmark"));
            QCOMPARE(seen.title, QStringLiteral("Quillmark"));
            QCOMPARE(seen.version, QStringLiteral("Version 2.0.0"));
            QCOMPARE(seen.description, QStringLiteral("NORTEL (tm) BUG Message DeCoder"));
            QCOMPARE(seen.warning, kWarning);
        }
    }
};

QTEST_MAIN(AboutTest)
#include "tst_frmAbout.moc"
