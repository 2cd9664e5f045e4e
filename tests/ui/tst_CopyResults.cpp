// SPDX-License-Identifier: MIT
// "Copy Results": the fifteen-line report on the clipboard and its confirmation box.
#include <QTest>

#include "tests/ui/MainWindowHarness.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

const QString kEmptyReport = QStringLiteral(
    "Call Register: \r\n"
    "Main PM: \r\n"
    "AUX PM: \r\n"
    "Orig Type: \r\n"
    "Term Type: \r\n"
    "Orig TN: \r\n"
    "Term TN: \r\n"
    "Queue: \r\n"
    "CR Fwd Link: \r\n"
    "CR Bak Link: \r\n"
    "Aux CR: \r\n"
    "CR Dialed: \r\n"
    "Digit Load: \r\n"
    "Digit Unload: \r\n"
    "Digits Dialed: \r\n");

const QString kWorkedReport = QStringLiteral(
    "Call Register: 0008F5B4\r\n"
    "Main PM: READY\r\n"
    "AUX PM: DISA_READY\r\n"
    "Orig Type: XTD_UNIT\r\n"
    "Term Type: UNKNOWN\r\n"
    "Orig TN: Use LD 32 to Convert TN H.0421\r\n"
    "Term TN: Use LD 32 to Convert TN H.0422\r\n"
    "Queue: QU_IDLE\r\n"
    "CR Fwd Link: 00090010\r\n"
    "CR Bak Link: 00090020\r\n"
    "Aux CR: 00000000\r\n"
    "CR Dialed: 00000000\r\n"
    "Digit Load: H.00101 (DEC: 5)\r\n"
    "Digit Unload: H.11111 (DEC: 31)\r\n"
    "Digits Dialed: 301B\r\n");

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
    QCOMPARE(messages.shown,
             QStringList{QStringLiteral("another program's text") + kConfirmation});
    delete window;
}

void tst_CopyResults::clipboardFailureChangesNothing_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("content");
    QTest::newRow("cannot be opened")
        << "clear" << "The clipboard cannot be opened. Nothing was copied." << "held before";
    QTest::newRow("cannot be written")
        << "write" << "The clipboard cannot be written. Nothing was copied." << "";
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
