// SPDX-License-Identifier: MIT
// Reset, Trim Text, Restore Text and the Edit menu with its shortcuts, and SavedText through them.
#include <QSignalSpy>
#include <QTest>

#include "tests/ui/MainWindowHarness.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {
const QString kCutMessage = QStringLiteral("Add 'mnuEditCut_Click' code.");
const QString kPasteSpecialMessage = QStringLiteral("Add 'mnuEditPasteSpecial_Click' code.");
}  // namespace

class tst_TextTools : public QObject {
    Q_OBJECT
private slots:
    // ---- Trim ----
    void trimRemovesOneWordPerPress();
    void trimFirstPress_data();
    void trimFirstPress();

    // ---- Reset and Restore ----
    void resetOnEmptyBoxSavesNothing();
    void resetTypeResetRestoreBringsBackFirstText();
    void resetClearsResultsAndHighlight();
    void undoRestoresLikeRestore();

    // ---- Paste ----
    void pasteAtCaretThenResetAndRestore();
    void pasteReplacesSelection();
    void pasteOverwritesSavedText();
    void pasteLeavingBoxEmptyEmptiesSavedText();
    void pasteOfUnreadableClipboardChangesNothing();
    void largePasteIsCutToLimitAndSaysSo_data();
    void largePasteIsCutToLimitAndSaysSo();
    void pasteIntoFullBoxChangesNothing();

    // ---- Copy, Cut, Paste Special ----
    void copyPutsSelectionOnClipboard_data();
    void copyPutsSelectionOnClipboard();
    void copyToUnwritableClipboardSaysSo();
    void cutAndPasteSpecialOnlyInform();

    // ---- Keys and context menu ----
    void shortcutsReachMenuFromInputBox_data();
    void shortcutsReachMenuFromInputBox();
    void boxOwnClipboardKeysRunTheCommands();
    void contextMenuOffersEditCommands();
};

void tst_TextTools::trimRemovesOneWordPerPress() {
    MainWindowHarness h;
    h.setText(QStringLiteral("BUG123 0000 1111"));
    QStringList seen;
    for (int press = 0; press < 3; ++press) {
        h.click("cmdTrim");
        seen << h.text();
    }
    QCOMPARE(seen, (QStringList{"0000 1111", "1111", "1111"}));
    QCOMPARE(h.window->savedText(), QStringLiteral("BUG123 0000 1111"));
    h.click("cmdRestore");
    QCOMPARE(h.text(), QStringLiteral("BUG123 0000 1111"));
    h.click("cmdRestore");  // repeatable: SavedText keeps its value
    QCOMPARE(h.text(), QStringLiteral("BUG123 0000 1111"));
}

void tst_TextTools::trimFirstPress_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("leading space") << " 0000" << "0000";
    QTest::newRow("line break is no space") << "A\nB C" << "C";
    QTest::newRow("only word and its space") << "BUG123 " << "";
    QTest::newRow("no space") << "0008F5B4" << "0008F5B4";
    QTest::newRow("tab is no space") << "BUG\t1 2" << "2";
    QTest::newRow("two spaces go one per press") << "A  B" << " B";
    QTest::newRow("non-breaking space is no space") << "A\u00A0B C" << "C";
}

void tst_TextTools::trimFirstPress() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    MainWindowHarness h;
    h.setText(before);
    h.click("cmdTrim");
    QCOMPARE(h.text(), after);
    QCOMPARE(h.window->savedText(), before);
}

void tst_TextTools::resetOnEmptyBoxSavesNothing() {
    MainWindowHarness h;
    h.click("cmdReset");
    QCOMPARE(h.window->savedText(), QString());
    h.setText(QStringLiteral("typed"));
    h.click("cmdRestore");
    QCOMPARE(h.text(), QStringLiteral("typed"));
}

void tst_TextTools::resetTypeResetRestoreBringsBackFirstText() {
    MainWindowHarness h;
    h.setText(QStringLiteral("first text"));
    h.click("cmdReset");
    QCOMPARE(h.text(), QString());
    h.setText(QStringLiteral("typed later"));
    h.click("cmdReset");
    h.click("cmdTrim");
    h.click("cmdRestore");
    QCOMPARE(h.text(), QStringLiteral("first text"));
}

void tst_TextTools::resetClearsResultsAndHighlight() {
    MainWindowHarness h;
    h.setText(kWorkedExample);
    h.click("cmdDebug");
    QCOMPARE(h.background("lblDigitLoadData"), kYellow);
    h.click("cmdReset");
    QCOMPARE(h.results(), QStringList(kFieldCount, QString()));
    QCOMPARE(h.background("lblDigitLoadData"), kWhite);
    QCOMPARE(h.background("lblDigitUnloadData"), kWhite);
    QCOMPARE(h.text(), QString());
    QCOMPARE(h.window->savedText(), kWorkedExample);
}

void tst_TextTools::undoRestoresLikeRestore() {
    MainWindowHarness h;
    h.choose("mnuEditUndo");  // nothing saved: nothing happens
    QCOMPARE(h.text(), QString());
    h.setText(QStringLiteral("BUG 1"));
    h.click("cmdTrim");
    h.choose("mnuEditUndo");
    QCOMPARE(h.text(), QStringLiteral("BUG 1"));
}

void tst_TextTools::pasteAtCaretThenResetAndRestore() {
    MainWindowHarness h;
    h.setText(QStringLiteral("0000"));
    h.caretToEnd();
    h.clipboard.content = QStringLiteral("X");
    h.choose("mnuEditPaste");
    QCOMPARE(h.text(), QStringLiteral("0000X"));
    QCOMPARE(h.window->savedText(), QStringLiteral("0000X"));
    h.click("cmdReset");
    QCOMPARE(h.text(), QString());
    h.click("cmdRestore");
    QCOMPARE(h.text(), QStringLiteral("0000X"));
    QCOMPARE(h.clipboard.content, QStringLiteral("X"));
}

void tst_TextTools::pasteReplacesSelection() {
    MainWindowHarness h;
    h.setText(QStringLiteral("BUG 0000 1111"));
    QTextCursor cursor = h.input()->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    h.input()->setTextCursor(cursor);
    h.clipboard.content = QStringLiteral("ABCD\r\nEF");
    h.choose("mnuEditPaste");
    QCOMPARE(h.text(), QStringLiteral("BUG ABCD\nEF 1111"));
    QCOMPARE(h.window->savedText(), h.text());
}

void tst_TextTools::pasteOverwritesSavedText() {
    MainWindowHarness h;
    h.setText(QStringLiteral("before"));
    h.click("cmdReset");
    h.clipboard.content = QStringLiteral("pasted");
    h.choose("mnuEditPaste");
    h.setText(QStringLiteral("typed"));
    h.click("cmdReset");  // a filled SavedText stays
    h.click("cmdRestore");
    QCOMPARE(h.text(), QStringLiteral("pasted"));
}

void tst_TextTools::pasteLeavingBoxEmptyEmptiesSavedText() {
    MainWindowHarness h;
    h.setText(QStringLiteral("old"));
    h.click("cmdReset");
    h.clipboard.content = QString();
    h.choose("mnuEditPaste");
    QCOMPARE(h.window->savedText(), QString());
    h.setText(QStringLiteral("new"));
    h.click("cmdTrim");  // fills it again
    QCOMPARE(h.window->savedText(), QStringLiteral("new"));
}

void tst_TextTools::pasteOfUnreadableClipboardChangesNothing() {
    MainWindowHarness h;
    h.setText(QStringLiteral("0000"));
    h.click("cmdTrim");
    h.setText(QStringLiteral("kept"));
    h.clipboard.failRead = true;
    h.choose("mnuEditPaste");
    QCOMPARE(h.messages.shown,
             QStringList{QStringLiteral("The clipboard cannot be read. Nothing was pasted.")});
    QCOMPARE(h.text(), QStringLiteral("kept"));
    QCOMPARE(h.window->savedText(), QStringLiteral("0000"));
}

void tst_TextTools::largePasteIsCutToLimitAndSaysSo_data() {
    QTest::addColumn<QString>("pasted");
    const int tenMegabytes = 10 * 1024 * 1024;
    QTest::newRow("10 MB on one line") << QString(tenMegabytes, QLatin1Char('A'));
    QString lines = QStringLiteral("0008F5B4 00000102\n").repeated(tenMegabytes / 18);
    QTest::newRow("10 MB in many lines") << lines;
}

void tst_TextTools::largePasteIsCutToLimitAndSaysSo() {
    QFETCH(QString, pasted);
    MainWindowHarness h;
    h.setText(QStringLiteral("BUG "));
    h.caretToEnd();
    h.clipboard.content = pasted;
    h.choose("mnuEditPaste");
    const int limit = ui::InputBox::kCharacterLimit;
    QCOMPARE(h.messages.shown,
             QStringList{QStringLiteral("The text is %1 characters long, but the input box holds "
                                        "at most 65536 characters. Only the first 65532 "
                                        "characters were pasted.")
                             .arg(pasted.size())});
    QCOMPARE(h.text().size(), limit);
    QCOMPARE(h.text(), QStringLiteral("BUG ") + pasted.left(limit - 4));
    QCOMPARE(h.window->savedText(), h.text());
    h.click("cmdTrim");
    h.click("cmdDebug");  // the decode works on what the box holds
    QCOMPARE(h.label("lblCallRegisterData")->text(),
             pasted.left(limit - 4).section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('\n')));
}

void tst_TextTools::pasteIntoFullBoxChangesNothing() {
    MainWindowHarness h;
    const QString full(ui::InputBox::kCharacterLimit, QLatin1Char('0'));
    h.setText(full);
    h.caretToEnd();
    h.clipboard.content = QStringLiteral("X");
    h.choose("mnuEditPaste");
    QCOMPARE(h.messages.shown,
             QStringList{QStringLiteral("The input box holds at most 65536 characters and has no "
                                        "room for the text; nothing was pasted.")});
    QCOMPARE(h.text(), full);
    QCOMPARE(h.window->savedText(), QString());
}

void tst_TextTools::copyPutsSelectionOnClipboard_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("copied");
    QTest::newRow("nothing selected gives empty text") << 3 << 3 << "";
    QTest::newRow("one word") << 0 << 4 << "0000";
    QTest::newRow("across a line break") << 2 << 7 << "00\n11";
}

void tst_TextTools::copyPutsSelectionOnClipboard() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, copied);
    MainWindowHarness h;
    h.setText(QStringLiteral("BUG 0000\n1111"));
    h.click("cmdTrim");
    QTextCursor cursor = h.input()->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    h.input()->setTextCursor(cursor);
    h.clipboard.content = QStringLiteral("held before");
    h.choose("mnuEditCopy");
    QCOMPARE(h.clipboard.content, copied);
    QCOMPARE(h.text(), QStringLiteral("0000\n1111"));
    QCOMPARE(h.window->savedText(), QStringLiteral("BUG 0000\n1111"));
}

void tst_TextTools::copyToUnwritableClipboardSaysSo() {
    MainWindowHarness h;
    h.setText(QStringLiteral("0000"));
    h.input()->selectAll();
    h.clipboard.content = QStringLiteral("held before");
    h.clipboard.failWrite = true;
    h.choose("mnuEditCopy");
    QCOMPARE(h.messages.shown,
             QStringList{QStringLiteral("The clipboard cannot be written. Nothing was copied.")});
    QCOMPARE(h.clipboard.content, QStringLiteral("held before"));
}

void tst_TextTools::cutAndPasteSpecialOnlyInform() {
    MainWindowHarness h;
    h.setText(QStringLiteral("0000"));
    h.input()->selectAll();
    h.clipboard.content = QStringLiteral("held");
    h.choose("mnuEditCut");
    h.choose("mnuEditPasteSpecial");
    QCOMPARE(h.messages.shown, (QStringList{kCutMessage, kPasteSpecialMessage}));
    QCOMPARE(h.text(), QStringLiteral("0000"));
    QCOMPARE(h.clipboard.content, QStringLiteral("held"));
    QCOMPARE(h.clipboard.calls, QStringList());
    QCOMPARE(h.window->savedText(), QString());
}

void tst_TextTools::shortcutsReachMenuFromInputBox_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("Ctrl+X shows the Cut message and cuts nothing")
        << int(Qt::Key_X) << "mnuEditCut" << "BUG 0000" << "held" << "" << QStringList{kCutMessage};
    QTest::newRow("Ctrl+C copies the selection through the clipboard seam")
        << int(Qt::Key_C) << "mnuEditCopy" << "BUG 0000" << "BUG 0000" << "" << QStringList();
    QTest::newRow("Ctrl+V pastes and keeps SavedText")
        << int(Qt::Key_V) << "mnuEditPaste" << "held" << "held" << "held" << QStringList();
}

void tst_TextTools::shortcutsReachMenuFromInputBox() {
    QFETCH(int, key);
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QString, clipboard);
    QFETCH(QString, saved);
    QFETCH(QStringList, messages);
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(QStringLiteral("BUG 0000"));
    h.input()->selectAll();
    h.clipboard.content = QStringLiteral("held");
    QSignalSpy menuCommand(h.action(qPrintable(action)), &QAction::triggered);
    QTest::keyClick(h.input(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(menuCommand.count(), 1);
    QCOMPARE(h.text(), text);
    QCOMPARE(h.clipboard.content, clipboard);
    QCOMPARE(h.window->savedText(), saved);
    QCOMPARE(h.messages.shown, messages);
}

void tst_TextTools::boxOwnClipboardKeysRunTheCommands() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(QStringLiteral("0000"));
    h.caretToEnd();
    h.clipboard.content = QStringLiteral("X");
    QTest::keyClick(h.input(), Qt::Key_Insert, Qt::ShiftModifier);  // paste
    QCOMPARE(h.text(), QStringLiteral("0000X"));
    QCOMPARE(h.window->savedText(), QStringLiteral("0000X"));
    h.input()->selectAll();
    QTest::keyClick(h.input(), Qt::Key_Delete, Qt::ShiftModifier);  // cut
    QCOMPARE(h.messages.shown, QStringList{kCutMessage});
    QCOMPARE(h.text(), QStringLiteral("0000X"));
}

void tst_TextTools::contextMenuOffersEditCommands() {
    MainWindowHarness h;
    QCOMPARE(h.input()->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList offered;
    for (QAction* action : h.input()->actions()) offered << action->objectName();
    QCOMPARE(offered, (QStringList{"mnuEditUndo", "mnuEditBar0", "mnuEditCut", "mnuEditCopy",
                                   "mnuEditPaste", "mnuEditPasteSpecial"}));
}

QTEST_MAIN(tst_TextTools)
#include "tst_TextTools.moc"
