// SPDX-License-Identifier: MIT
// "Copy Results": the fifteen-line report on the clipboard and its confirmation box.
#include <QTest>

#include "tests/ui/MainWindowHarness.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

const QString kEmptyReport = fromView(sample::kEmptyReport);
const QString kWorkedReport = fromView(sample::kWorkedExampleReport);

const QString kConfirmation = QStringLiteral("\r\n\r\nABOVE TEXT COPIED TO CLIPBOARD");

// A clipboard that another program takes over between the copy and the read-back.
class TakenOverClipboard : public FakeClipboard {
public:
    std::optional<QString> text() override {
        calls << "text";
        return QStringLiteral("another program's text");
    }
};

}  // namespace

class tst_CopyResults : public QObject {
    Q_OBJECT
private slots:
    void reportOfLabels_data();
    void reportOfLabels();
    void copyReplacesWhatClipboardHeld();
    void boxShowsWhatClipboardHoldsAfterCopy();
    void clipboardFailureChangesNothing_data();
    void clipboardFailureChangesNothing();
};

void tst_CopyResults::reportOfLabels_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("decode");
    QTest::addColumn<QString>("report");
    QTest::newRow("before any decode: label texts alone") << QString() << false << kEmptyReport;
    QTest::newRow("worked example") << kWorkedExample << true << kWorkedReport;
    QTest::newRow("after Reset: label texts alone") << kWorkedExample << false << kEmptyReport;
}

void tst_CopyResults::reportOfLabels() {
    QFETCH(QString, input);
    QFETCH(bool, decode);
    QFETCH(QString, report);
    MainWindowHarness h;
    h.setText(input);
    if (decode) {
        h.click("cmdDebug");
    } else if (!input.isEmpty()) {
        h.click("cmdDebug");
        h.click("cmdReset");
    }
    const QStringList before = h.results();
    h.click("cmdCopyResult");
    QCOMPARE(h.clipboard.content, report);
    QCOMPARE(h.clipboard.calls, (QStringList{"clear", "setText", "text"}));
    QCOMPARE(h.messages.shown, QStringList{report + kConfirmation});
    QCOMPARE(h.messages.owners.front().data(), h.window.data());
    QCOMPARE(h.results(), before);
}

void tst_CopyResults::copyReplacesWhatClipboardHeld() {
    MainWindowHarness h;
    h.setText(QStringLiteral("input text never in the report"));
    h.clipboard.content = QStringLiteral("held before");
    h.click("cmdCopyResult");
    QCOMPARE(h.clipboard.content, kEmptyReport);
}

void tst_CopyResults::boxShowsWhatClipboardHoldsAfterCopy() {
    TakenOverClipboard clipboard;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeWindowList windows;
    auto* window = new ui::frmMain(ui::MainWindowServices{
        clipboard, messages, settings, windows, {QStringLiteral("Quillmark"), 2, 0, 0}, {}, {}});
    window->cmdCopyResult_Click();
    QCOMPARE(messages.shown, QStringList{QStringLiteral("another program's text") + kConfirmation});
    delete window;
}

void tst_CopyResults::clipboardFailureChangesNothing_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("content");
    QTest::newRow("cannot be opened")
        << QStringLiteral("clear")
        << QStringLiteral("The clipboard cannot be opened. Nothing was copied.")
        << QStringLiteral("held before");
    QTest::newRow("cannot be written")
        << QStringLiteral("write")
        << QStringLiteral("The clipboard cannot be written. Nothing was copied.") << QString();
    QTest::newRow("cannot be read back")
        << "read"
        << "The results were put on the clipboard, but the clipboard cannot be read back to show "
           "them."
        << kWorkedReport;
}

void tst_CopyResults::clipboardFailureChangesNothing() {
    QFETCH(QString, failing);
    QFETCH(QString, message);
    QFETCH(QString, content);
    MainWindowHarness h;
    h.setText(kWorkedExample);
    h.click("cmdDebug");
    const QStringList results = h.results();
    h.clipboard.content = QStringLiteral("held before");
    h.clipboard.failClear = failing == "clear";
    h.clipboard.failWrite = failing == "write";
    h.clipboard.failRead = failing == "read";
    h.click("cmdCopyResult");
    QCOMPARE(h.messages.shown, QStringList{message});
    QCOMPARE(h.clipboard.content, content);
    QCOMPARE(h.results(), results);
    QCOMPARE(h.text(), kWorkedExample);
    QCOMPARE(h.background("lblDigitLoadData"), kYellow);
}

QTEST_MAIN(tst_CopyResults)
#include "tst_CopyResults.moc"
