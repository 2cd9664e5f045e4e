// SPDX-License-Identifier: MIT
// The main window as opened, the decode command, the converter panel and plain-text display.
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <QTextDocument>

#include "decoder/decoder.h"
#include "tests/ui/MainWindowHarness.h"

using namespace quillmark;
using namespace quillmark::test;

class tst_frmMain : public QObject {
    Q_OBJECT
private slots:
    // ---- As opened ----
    void opensWithEmptyWhiteResults();
    void opensWithControlCaptions();
    void resultRowsFollowTheCatalogue();
    void opensWithMenuTree();
    void opensAtFixedPlaceAndSize();
    void captionFollowsVersion_data();
    void captionFollowsVersion();
    void entersWindowList();
    void tabOrderRunsFromInputThroughButtons();
    void noButtonIsDefault();

    // ---- Decode ----
    void debugClickFillsResults_data();
    void debugClickFillsResults();
    void equalPointersTurnHighlightWhiteAgain();
    void decodeLeavesInputAndSavedTextAlone();
    void decodeKeepsNonBreakingSpaceInsideWord();
    void decodeReadsAcrossLineBreaks();

    // ---- Display ----
    void resultsShowMarkupLiterally();
    void toolTipsSayWhereEachResultCameFrom_data();
    void toolTipsSayWhereEachResultCameFrom();
    void emptyResultStillNamesItsSource();
    void longResultShowsInFullInToolTip();
    void longestTextsFitTheirLabels_data();
    void longestTextsFitTheirLabels();

    // ---- Converter ----
    void converterToggleFollowsCheckMark();
    void converterChoicesAreDisabled();

    // ---- Web and Help ----
    void webAndHelpItemsCallTheShell();
};

void tst_frmMain::opensWithEmptyWhiteResults() {
    MainWindowHarness h;
    QCOMPARE(h.results(), QStringList(kFieldCount, QString()));
    for (const FieldRow& row : kFields) {
        QLabel* result = h.result(row.field);
        QVERIFY2(result != nullptr, row.key.data());
        QCOMPARE(result->palette().color(QPalette::Window), kWhite);
        QCOMPARE(result->textFormat(), Qt::PlainText);
        QCOMPARE(result->toolTip(), QString());
    }
    QCOMPARE(h.text(), QString());
    QCOMPARE(h.window->savedText(), QString());
    QVERIFY(h.child<QGroupBox>("fraConvert")->isHidden());
    QVERIFY(!h.action("mnuViewConverter")->isChecked());
    // The input box takes the focus when the window becomes active.
    QCOMPARE(h.window->focusWidget(), h.input());
}

void tst_frmMain::opensWithControlCaptions() {
    MainWindowHarness h;
    QStringList captions;
    for (const char* name :
         {"cmdTrim", "cmdRestore", "cmdDebug", "cmdCopyResult", "cmdReset", "cmdExit"})
        captions << h.button(name)->text();
    QCOMPARE(captions,
             (QStringList{"Trim Text", "Restore Text", "DeBug", "Copy Results", "Reset", "Quit"}));
    for (const FieldRow& row : kFields) {
        QLabel* caption = h.label(std::string(row.label).c_str());
        QVERIFY2(caption != nullptr, row.key.data());
        QCOMPARE(caption->text(),
                 fromView(sample::FixtureOf(row).at("caption").get<std::string>()));
    }
    QCOMPARE(h.child<QGroupBox>("fraConvert")->title(), QStringLiteral("Converter"));
}

// Every catalogue row has its caption label (name and text from the row) beside its result
// label, in a place of its own, and a decode shows the row's text there.
void tst_frmMain::resultRowsFollowTheCatalogue() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(kWorkedExample);
    h.click("cmdDebug");
    const DecodedFields expected = DecodeText(sample::kWorkedExample);
    QList<QRect> places;
    for (const FieldRow& row : kFields) {
        QLabel* caption = h.label(std::string(row.label).c_str());
        QLabel* result = h.result(row.field);
        QVERIFY2(caption != nullptr && result != nullptr, row.key.data());
        QCOMPARE(caption->text(), fromView(row.caption));
        QCOMPARE(caption->buddy(), result);
        QCOMPARE(result->objectName(), resultLabelName(row));
        QCOMPARE(result->text(), fromView(expected[row.field]));
        QVERIFY2(!result->geometry().isEmpty() && !places.contains(result->geometry()),
                 row.key.data());
        places << result->geometry();
        qInfo("%s %s: %s", caption->objectName().toUtf8().constData(),
              result->objectName().toUtf8().constData(), result->text().toUtf8().constData());
    }
}

void tst_frmMain::opensWithMenuTree() {
    MainWindowHarness h;
    QStringList tree;
    for (QAction* top : h.window->menuBar()->actions()) {
        tree << top->menu()->objectName() + "=" + top->text();
        for (QAction* item : top->menu()->actions()) {
            QString line =
                "  " + item->objectName() + "=" + (item->isSeparator() ? "-" : item->text());
            if (!item->shortcut().isEmpty()) line += " [" + item->shortcut().toString() + "]";
            if (item->isChecked() || !item->isEnabled() || !item->isVisible()) line += " (!)";
            tree << line;
        }
    }
    const QStringList expected{
        "mnuFile=&File",
        "  mnuFileExit=E&xit",
        "mnuEdit=&Edit",
        "  mnuEditUndo=&Undo",
        "  mnuEditBar0=-",
        "  mnuEditCut=Cu&t [Ctrl+X]",
        "  mnuEditCopy=&Copy [Ctrl+C]",
        "  mnuEditPaste=&Paste [Ctrl+V]",
        "  mnuEditPasteSpecial=Paste &Special...",
        "mnuView=&View",
        "  mnuViewConverter=&Converter",
        "mnuWeb=&Web",
        "  mnuWebNortelHome=&Nortel Home",
        "  mnuWebBar1=-",
        "  mnuWebDejaNews=Nortel Newsgroup (via &Google Groups)",
        "mnuHelp=&Help",
        "  mnuHelpAbout=&About ",
    };
    QCOMPARE(tree, expected);
}

void tst_frmMain::opensAtFixedPlaceAndSize() {
    MainWindowHarness h;
    h.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(h.window));
    QCOMPARE(h.window->frameGeometry(), QRect(0, 0, 586, 423));
    QCOMPARE(h.window->minimumSize(), h.window->maximumSize());
    QVERIFY(!(h.window->windowFlags() & Qt::WindowMaximizeButtonHint));
    // The controls sit in the client area below the menu bar.
    QCOMPARE(h.window->centralWidget()->y(), h.window->menuBar()->height());
}

void tst_frmMain::captionFollowsVersion_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("caption");
    QTest::newRow("2.0.0") << 2 << 0 << 0 << "Quillmark V2.0 Rev:0";
    QTest::newRow("two-digit parts 10.3.12") << 10 << 3 << 12 << "Quillmark V10.3 Rev:12";
}

void tst_frmMain::captionFollowsVersion() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, caption);
    MainWindowHarness h({QStringLiteral("Quillmark"), major, minor, revision});
    QCOMPARE(h.window->windowTitle(), caption);
}

void tst_frmMain::entersWindowList() {
    MainWindowHarness h;
    QCOMPARE(h.windows.count(), 1);
    QCOMPARE(h.windows.at(0), h.window.data());
    QVERIFY(h.window->testAttribute(Qt::WA_DeleteOnClose));
}

void tst_frmMain::tabOrderRunsFromInputThroughButtons() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(QStringLiteral("AB"));
    h.caretToEnd();
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, (QStringList{"txtDebugData", "cmdDebug", "cmdExit", "cmdReset", "cmdTrim",
                                   "cmdRestore", "cmdCopyResult"}));
    QCOMPARE(h.text(), QStringLiteral("AB"));  // Tab moved on, it inserted nothing
}

void tst_frmMain::noButtonIsDefault() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(QStringLiteral("AB"));
    h.caretToEnd();
    QTest::keyClick(h.input(), Qt::Key_Return);
    QTest::keyClick(h.input(), Qt::Key_Escape);
    QCOMPARE(h.text(), QStringLiteral("AB\n"));
    QCOMPARE(h.results(), QStringList(kFieldCount, QString()));
    for (QPushButton* button : h.window->findChildren<QPushButton*>()) {
        QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
    }
}

void tst_frmMain::debugClickFillsResults_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<bool>("yellow");
    QTest::newRow("worked example") << kWorkedExample << workedExampleResults() << true;
    QTest::newRow("empty input gives fallbacks")
        << QString() << resultsOf(sample::FixtureTexts("emptyTextResult")) << false;
    QTest::newRow("pasted BUG word not trimmed shifts every field")
        << "BUG0123 " + kWorkedExample
        << QStringList{"BUG0123",
                       "UNDEFINED",
                       "",
                       "NONE",
                       "L500_UNIT",
                       "Use LD 32 to Convert TN H.1A48",
                       "Use LD 32 to Convert TN H.0421",
                       "TOTAL_QUEUES",
                       "0000000C",
                       "00090010",
                       "00090020",
                       "00000000",
                       "H.00000 (DEC: 0)",
                       "H.00000 (DEC: 0)",
                       "5E3301B"}
        << false;
}

void tst_frmMain::debugClickFillsResults() {
    QFETCH(QString, input);
    QFETCH(QStringList, results);
    QFETCH(bool, yellow);
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(input);
    h.click("cmdDebug");
    QCOMPARE(h.results(), results);
    QCOMPARE(h.background("lblDigitLoadData"), yellow ? kYellow : kWhite);
    QCOMPARE(h.background("lblDigitUnloadData"), yellow ? kYellow : kWhite);
    QCOMPARE(h.messages.shown, QStringList());
}

void tst_frmMain::equalPointersTurnHighlightWhiteAgain() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(kWorkedExample);
    h.click("cmdDebug");
    QCOMPARE(h.background("lblDigitLoadData"), kYellow);
    h.setText(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 00000000"));
    h.click("cmdDebug");
    QCOMPARE(h.label("lblDigitLoadData")->text(), QStringLiteral("H.00000 (DEC: 0)"));
    QCOMPARE(h.background("lblDigitLoadData"), kWhite);
    QCOMPARE(h.background("lblDigitUnloadData"), kWhite);
    QCOMPARE(h.label("lblCallRegisterData")->text(), QStringLiteral("1"));
    QCOMPARE(h.label("lblDigsDialedData")->text(), QString());  // nothing of the first decode
}

void tst_frmMain::decodeLeavesInputAndSavedTextAlone() {
    MainWindowHarness h;
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QCOMPARE(h.text(), kWorkedExample);
    QCOMPARE(h.window->savedText(), QString());
}

void tst_frmMain::decodeKeepsNonBreakingSpaceInsideWord() {
    // Only a plain space ends a word; a non-breaking one belongs to the word.
    MainWindowHarness h;
    h.setText(QStringLiteral("AB\u00A0CD 00000102"));
    h.window->cmdDebug_Click();
    QCOMPARE(h.label("lblCallRegisterData")->text(), QStringLiteral("AB\u00A0CD"));
    QCOMPARE(h.label("lblMainPMData")->text(), QStringLiteral("READY"));
}

void tst_frmMain::decodeReadsAcrossLineBreaks() {
    // Line breaks are dropped without ending a word, wherever the text box keeps them.
    MainWindowHarness h;
    h.setText(QStringLiteral("0008\nF5B4 0000\u20280102"));
    h.window->cmdDebug_Click();
    QCOMPARE(h.label("lblCallRegisterData")->text(), QStringLiteral("0008F5B4"));
    QCOMPARE(h.label("lblMainPMData")->text(), QStringLiteral("READY"));
}

// What the tooltip window shows, as the characters a person reads.
QString shownToolTip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* tip = qobject_cast<QLabel*>(widget);
        if (tip == nullptr || !tip->inherits("QTipLabel") || !tip->isVisible()) continue;
        if (!Qt::mightBeRichText(tip->text())) return tip->text();
        QTextDocument document;
        document.setHtml(tip->text());
        return document.toPlainText();
    }
    return QStringLiteral("(no tooltip shown)");
}

QString hoverToolTip(QLabel* label) {
    QHelpEvent hover(QEvent::ToolTip, label->rect().center(),
                     label->mapToGlobal(label->rect().center()));
    QApplication::sendEvent(label, &hover);
    return shownToolTip();
}

void tst_frmMain::resultsShowMarkupLiterally() {
    MainWindowHarness h;
    h.window->show();
    h.setText(QStringLiteral("<b>x</b> 00000102 <img\tsrc=x>"));
    h.window->cmdDebug_Click();
    QLabel* callRegister = h.label("lblCallRegisterData");
    QCOMPARE(callRegister->text(), QStringLiteral("<b>x</b>"));
    QCOMPARE(callRegister->textFormat(), Qt::PlainText);
    const QString tip = QStringLiteral(
        "<b>x</b>\nword 1, characters 1-8: <b>x</b>\n"
        "word 1, character 1 is U+003C: not a hexadecimal digit");
    QCOMPARE(callRegister->toolTip(), tip);
    QCOMPARE(hoverToolTip(callRegister), tip);
}

void tst_frmMain::toolTipsSayWhereEachResultCameFrom_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("tip");
    const auto row = [](Field field, const char* tip) {
        QTest::newRow(RowOf(field).key.data())
            << static_cast<int>(field) << QString::fromLatin1(tip);
    };
    row(Field::CallRegister, "0008F5B4\nword 1, characters 1-8: 0008F5B4");
    row(Field::MainPM, "READY\nword 2, characters 5-6: 01");
    row(Field::TermType, "UNKNOWN\nword 3, bit characters 20-24: 11010");
    row(Field::OrigTN, "Use LD 32 to Convert TN H.0421\nword 4, characters 5-8: 0421");
    row(Field::DigitUnload, "H.11111 (DEC: 31)\nword 12, bit characters 23-27: 11111");
    row(Field::DigsDialed, "301B\nword 13, characters 5-8, read from 8 to 5: B1A3");
}

void tst_frmMain::toolTipsSayWhereEachResultCameFrom() {
    QFETCH(int, field);
    QFETCH(QString, tip);
    MainWindowHarness h;
    h.window->show();
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QLabel* result = h.result(static_cast<Field>(field));
    QCOMPARE(result->toolTip(), tip);
    QCOMPARE(hoverToolTip(result), tip);
}

void tst_frmMain::emptyResultStillNamesItsSource() {
    MainWindowHarness h;
    h.window->cmdDebug_Click();
    QCOMPARE(h.result(Field::AuxPM)->toolTip(), QStringLiteral("word 2 ends before character 7"));
    QCOMPARE(h.result(Field::DigsDialed)->toolTip(),
             QStringLiteral("words 13-30, characters 5-8: no digit"));
}

void tst_frmMain::longResultShowsInFullInToolTip() {
    MainWindowHarness h;
    QString text = QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12");
    for (int i = 0; i < 18; ++i) text += QStringLiteral(" 12345678");
    h.setText(text);
    h.window->cmdDebug_Click();
    const QString digits = QString(QStringLiteral("8765")).repeated(18);
    QCOMPARE(h.label("lblDigsDialedData")->text(), digits);
    const QStringList tip = h.label("lblDigsDialedData")->toolTip().split(QLatin1Char('\n'));
    QCOMPARE(tip.size(), 1 + 18);
    QCOMPARE(tip.front(), digits);
    QCOMPARE(tip.back(), QStringLiteral("word 30, characters 5-8, read from 8 to 5: 5678"));
    h.window->cmdReset_Click();
    QCOMPARE(h.label("lblDigsDialedData")->toolTip(), QString());
}

void tst_frmMain::longestTextsFitTheirLabels_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    const auto row = [](const char* tag, const char* name, const char* text) {
        QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromLatin1(text);
    };
    row("longest main PM", "lblMainPMData", "RLA_CONF_DISCONNECT");
    row("long aux PM", "lblAuxPMData", "AML_MSDL_I_PRINT");
    row("TN hint", "lblOrigTNData", "Use LD 32 to Convert TN H.0421");
    row("TN hint, wide digits", "lblTermTNData", "Use LD 32 to Convert TN H.DDDD");
    row("pointer", "lblDigitUnloadData", "H.11111 (DEC: 31)");
    row("longest unit type", "lblOrigTypeData", "MAX_UNIT_MOD");
    for (const char* name :
         {"lblCallReg", "lblMainPM", "lblAuxPM", "lblOrigType", "lblTermType", "lblOrigTN",
          "lblTermTN", "lblQueue", "lblCRLink", "lblCRBakLink", "lblAuxCR", "lblCRDialed",
          "lblDigitLoad", "lblDigitUnload", "lblDigsDialed"})
        QTest::newRow(name) << QString::fromLatin1(name) << QString();
}

void tst_frmMain::longestTextsFitTheirLabels() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    MainWindowHarness h;
    QLabel* label = h.window->findChild<QLabel*>(name);
    QVERIFY(label);
    if (text.isEmpty()) text = label->text();  // a caption label's own caption
    const QFontMetrics metrics(label->font());
    QVERIFY2(metrics.horizontalAdvance(text) <= label->contentsRect().width(),
             qPrintable(QStringLiteral("%1 px for %2 px: %3")
                            .arg(metrics.horizontalAdvance(text))
                            .arg(label->contentsRect().width())
                            .arg(text)));
    QVERIFY(metrics.height() <= label->contentsRect().height());
}

void tst_frmMain::converterToggleFollowsCheckMark() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    auto* frame = h.child<QGroupBox>("fraConvert");
    QAction* item = h.action("mnuViewConverter");
    QVERIFY(item->isCheckable());
    h.choose("mnuViewConverter");
    QVERIFY(item->isChecked());
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->palette().color(QPalette::Window), QColor(255, 255, 192));
    QLabel* disabled = h.label("lblData");
    QCOMPARE(disabled->text(), QStringLiteral("DISABLED"));
    QCOMPARE(disabled->palette().color(QPalette::WindowText), QColor(0xE0, 0, 0));
    // A single black line on all four sides, not a sunken panel's two grey edges.
    const QImage drawn = disabled->grab().toImage();
    for (const QPoint edge : {QPoint(0, drawn.height() / 2), QPoint(drawn.width() - 1, 9),
                              QPoint(drawn.width() / 2, 0), QPoint(9, drawn.height() - 1)})
        QCOMPARE(drawn.pixelColor(edge), QColor(Qt::black));
    QCOMPARE(disabled->palette().color(QPalette::Window), kWhite);
    QCOMPARE(disabled->alignment(), Qt::AlignCenter);
    h.choose("mnuViewConverter");
    QVERIFY(!item->isChecked());
    QVERIFY(!frame->isVisible());
    h.choose("mnuViewConverter");
    QVERIFY(item->isChecked());
    QVERIFY(frame->isVisible());
}

void tst_frmMain::converterChoicesAreDisabled() {
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.choose("mnuViewConverter");
    QStringList captions;
    for (const char* name : {"optDec2Hex", "optHex2Dec", "optHex2Bin"}) {
        auto* choice = h.child<QRadioButton>(name);
        captions << choice->text();
        QVERIFY(!choice->isEnabled());
        QVERIFY(choice->font().bold());
        QCOMPARE(choice->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(choice, Qt::LeftButton);
        QVERIFY(!choice->isChecked());
    }
    QCOMPARE(captions, (QStringList{"DEC to HEX", "HEX to DEC", "HEX to BIN"}));
    // The shown panel overlaps no other control.
    const QRect panel = h.child<QGroupBox>("fraConvert")->geometry();
    for (QWidget* other :
         h.window->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other->objectName() == "fraConvert") continue;
        QVERIFY2(!panel.intersects(other->geometry()), qPrintable(other->objectName()));
    }
}

void tst_frmMain::webAndHelpItemsCallTheShell() {
    MainWindowHarness h;
    h.choose("mnuWebNortelHome");
    h.choose("mnuWebDejaNews");
    QCOMPARE(h.openedAddresses,
             (QStringList{"http://www.nortel.com",
                          "http://groups.google.com/groups?hl=en&group=comp.dcom.sys.nortel"}));
    h.choose("mnuHelpAbout");
    QCOMPARE(h.aboutOwners.size(), 1u);
    QCOMPARE(h.aboutOwners.front().data(), h.window.data());
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
