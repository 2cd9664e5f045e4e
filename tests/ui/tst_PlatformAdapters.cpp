// SPDX-License-Identifier: MIT
// The Qt adapters of the platform seams: settings store, window list, message boxes, clipboard.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "platform/AppInfo.h"
#include "platform/OwnTitleBar.h"
#include "platform/QtClipboard.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtWindowList.h"
#include "quillmark/version.h"
#include "ui/main/frmMain.h"

using namespace quillmark;

namespace {

class RecordingWindow : public QWidget {
public:
    RecordingWindow(const char* name, QStringList& log) : log_(log) {
        setObjectName(QString::fromLatin1(name));
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        log_ << objectName();
        event->accept();
    }

private:
    QStringList& log_;
};

}  // namespace

class tst_PlatformAdapters : public QObject {
    Q_OBJECT
private slots:
    void settingsWriteUnderApplicationAndSection();
    void unwritableSettingsReportFalseQuietly();
    void windowListKeepsOpeningOrder();
    void windowListCloseRunsCloseProcessing();
    void messageBoxIsPlainWithTitleAndOkOnly();
    void clipboardRoundTrip();
    void appInfoOfThisBuild();
    // Last: once the program has been told to end, no further event loop runs in this process.
    void endProgramRunsNoCloseProcessing();
    void idleCaptionReadable_data();
    void idleCaptionReadable();
};

void tst_PlatformAdapters::settingsWriteUnderApplicationAndSection() {
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    {
        platform::QtSettingsStore store;
        QVERIFY(store.write(QStringLiteral("Settings"), QStringLiteral("MainLeft"),
                            QStringLiteral("-45")));
        QVERIFY(store.write(QStringLiteral("Settings"), QStringLiteral("MainWidth"),
                            QStringLiteral("8790")));
    }
    QFile file(home.filePath(QStringLiteral("Quillmark/Quillmark.conf")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("[Settings]\nMainLeft=-45\nMainWidth=8790\n"));
}

void tst_PlatformAdapters::unwritableSettingsReportFalseQuietly() {
    // A plain file where the configuration directory should be: unwritable even for root.
    QTemporaryDir home;
    QFile blocker(home.filePath(QStringLiteral("config")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName());
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    platform::QtSettingsStore store;
    QVERIFY(
        !store.write(QStringLiteral("Settings"), QStringLiteral("MainTop"), QStringLiteral("0")));
}

void tst_PlatformAdapters::windowListKeepsOpeningOrder() {
    platform::QtWindowList list;
    QStringList log;
    auto* a = new RecordingWindow("a", log);
    auto* b = new RecordingWindow("b", log);
    auto* c = new RecordingWindow("c", log);
    list.add(a);
    list.add(b);
    list.add(c);
    list.add(b);  // already listed
    QCOMPARE(list.count(), 3);
    delete b;
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(0), a);
    QCOMPARE(list.at(1), c);
    QCOMPARE(list.at(2), nullptr);
    delete a;
    delete c;
    QCOMPARE(list.count(), 0);
}

void tst_PlatformAdapters::windowListCloseRunsCloseProcessing() {
    platform::QtWindowList list;
    QStringList log;
    RecordingWindow first("first", log);
    auto* second = new RecordingWindow("second", log);
    second->setAttribute(Qt::WA_DeleteOnClose);
    list.add(&first);
    list.add(second);
    second->show();
    list.close(1);
    list.close(7);  // nothing there: nothing happens
    QCOMPARE(log, QStringList{"second"});
    QTRY_COMPARE(list.count(), 1);  // a window that deletes itself on close leaves the list
}

void tst_PlatformAdapters::endProgramRunsNoCloseProcessing() {
    platform::QtWindowList list;
    QStringList log;
    RecordingWindow window("main", log);
    list.add(&window);
    window.show();
    QEventLoop loop;
    QTimer::singleShot(0, &list, [&] { list.endProgram(); });
    QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
    QCOMPARE(loop.exec(), 0);
    QCOMPARE(log, QStringList());
    QVERIFY(window.isVisible());
}

void tst_PlatformAdapters::messageBoxIsPlainWithTitleAndOkOnly() {
    platform::QtMessageBoxes boxes(QStringLiteral("Quillmark"));
    QWidget owner;
    owner.show();
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QMessageBox* box = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<QMessageBox*>(top);
                candidate && candidate->isVisible())
                box = candidate;
        if (!box) return;
        poll.stop();
        title = box->windowTitle();
        text = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
        format = box->textFormat();
        icon = box->icon();
        buttons = box->standardButtons();
        QTest::keyClick(box, Qt::Key_Return);
    });
    poll.start(10);
    boxes.show(&owner, QStringLiteral("<b>x</b>\r\nline 2"));
    QCOMPARE(title, QStringLiteral("Quillmark"));
    QCOMPARE(text, QStringLiteral("<b>x</b>\nline 2"));
    QCOMPARE(format, Qt::PlainText);
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void tst_PlatformAdapters::clipboardRoundTrip() {
    platform::QtClipboard clipboard;
    QVERIFY(clipboard.setText(QStringLiteral("Call Register: \r\n")));
    QCOMPARE(clipboard.text(), std::optional<QString>(QStringLiteral("Call Register: \r\n")));
    QVERIFY(clipboard.clear());
    QCOMPARE(clipboard.text(), std::optional<QString>(QString()));
}

void tst_PlatformAdapters::appInfoOfThisBuild() {
    const platform::AppInfo app = platform::currentAppInfo();
    QCOMPARE(app.title, QStringLiteral("Quillmark"));
    QCOMPARE(ui::frmMain::caption(app), QStringLiteral("Quillmark V%1.%2 Rev:%3")
                                            .arg(quillmark::version::kMajor)
                                            .arg(quillmark::version::kMinor)
                                            .arg(quillmark::version::kRevision));
}

// Contrast ratio of two colours, as for text on a background.
static double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void tst_PlatformAdapters::idleCaptionReadable_data() {
    QTest::addColumn<QPalette>("colours");
    QTest::newRow("Fusion, light")
        << QStyleFactory::create(QStringLiteral("Fusion"))->standardPalette();
    // Adwaita's dark colours, as Qt's GTK theme gives them.
    QPalette dark(QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::Button, QColor(0x32, 0x32, 0x32));
    dark.setColor(QPalette::Active, QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x77, 0x77, 0x77));
    QTest::newRow("Adwaita, dark") << dark;
}

// The caption of a window that is not the active one: fainter than the active one's, readable.
void tst_PlatformAdapters::idleCaptionReadable() {
    QFETCH(QPalette, colours);
    const QColor bar = colours.color(QPalette::Button);
    const QColor idle = platform::inactiveCaptionColour(colours);
    QVERIFY2(contrast(idle, bar) >= 4.5, qPrintable(idle.name()));
    QVERIFY(contrast(idle, bar) < contrast(colours.color(QPalette::ButtonText), bar));
}

QTEST_MAIN(tst_PlatformAdapters)
#include "tst_PlatformAdapters.moc"
