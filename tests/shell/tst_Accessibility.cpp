// SPDX-License-Identifier: MIT
// What assistive tools read from the windows: names that say what each control is, the
// results' values as their text, descriptions without markup, the pointers' yellow in words.
#include <QAccessible>
#include <QTest>
#include <functional>

#include "tests/ui/MainWindowHarness.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmSplash.h"

using namespace quillmark;
using namespace quillmark::test;

namespace {

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString name(QObject* object) { return accessible(object)->text(QAccessible::Name); }
QString description(QObject* object) {
    return accessible(object)->text(QAccessible::Description);
}

QString readText(QObject* object) {
    QAccessibleTextInterface* text = accessible(object)->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("<no text interface>");
}

// Every interface below root, depth first.
void visit(QAccessibleInterface* root, const std::function<void(QAccessibleInterface*)>& act) {
    act(root);
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i)) visit(child, act);
}

const QString kDiffersFromUnload = QStringLiteral("differs from Digit UnLoad pointer");
const QString kDiffersFromLoad = QStringLiteral("differs from Digit Load pointer");

}  // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT
private slots:
    void resultsAreNamedByTheirCaptions_data();
    void resultsAreNamedByTheirCaptions();
    void pointersSayWhenTheyDiffer_data();
    void pointersSayWhenTheyDiffer();
    void noDescriptionCarriesMarkup();
    void inputBoxAndWindowsAreNamed();
};

void tst_Accessibility::resultsAreNamedByTheirCaptions_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("value");
    const QStringList captions{"lblCallReg",  "lblMainPM",    "lblAuxPM",     "lblOrigType",
                               "lblTermType", "lblOrigTN",    "lblTermTN",    "lblQueue",
                               "lblCRLink",   "lblCRBakLink", "lblAuxCR",     "lblCRDialed",
                               "lblDigitLoad", "lblDigitUnload", "lblDigsDialed"};
    const QStringList values{"0008F5B4", "READY", "DISA_READY", "XTD_UNIT", "UNKNOWN",
                             "Use LD 32 to Convert TN H.0421", "Use LD 32 to Convert TN H.0422",
                             "QU_IDLE", "00090010", "00090020", "00000000", "00000000",
                             "H.00101 (DEC: 5)", "H.11111 (DEC: 31)", "301B"};
    for (std::size_t i = 0; i < kResultLabels.size(); ++i)
        QTest::newRow(kResultLabels[i])
            << QString::fromLatin1(kResultLabels[i]) << captions[i] << values[i];
}

void tst_Accessibility::resultsAreNamedByTheirCaptions() {
    QFETCH(QString, result);
    QFETCH(QString, caption);
    QFETCH(QString, value);
    MainWindowHarness h;
    QLabel* field = h.label(qPrintable(result));
    QLabel* captionLabel = h.label(qPrintable(caption));

    // The name is the caption beside it, also before any decode.
    QCOMPARE(name(field), captionLabel->text());
    QCOMPARE(accessible(field)->role(), QAccessible::StaticText);
    QCOMPARE(readText(field), QString());

    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QCOMPARE(name(field), captionLabel->text());
    QCOMPARE(accessible(field)->text(QAccessible::Value), value);
    QCOMPARE(readText(field), value);
    // The caption labels the field.
    bool labelled = false;
    for (const auto& [other, relation] : accessible(field)->relations(QAccessible::Label))
        labelled = labelled || other->object() == captionLabel;
    QVERIFY(labelled);

    h.window->cmdReset_Click();
    QCOMPARE(readText(field), QString());
    QCOMPARE(name(field), captionLabel->text());
}

void tst_Accessibility::pointersSayWhenTheyDiffer_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("load");
    QTest::addColumn<QString>("unload");
    QTest::newRow("worked example: 5 and 31")
        << kWorkedExample << kDiffersFromUnload << kDiffersFromLoad;
    QTest::newRow("equal pointers") << QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 00000000")
                                    << QString() << QString();
    QTest::newRow("no input") << QString() << QString() << QString();
}

void tst_Accessibility::pointersSayWhenTheyDiffer() {
    QFETCH(QString, input);
    QFETCH(QString, load);
    QFETCH(QString, unload);
    MainWindowHarness h;
    h.setText(input);
    h.window->cmdDebug_Click();
    QCOMPARE(description(h.label("lblDigitLoadData")), load);
    QCOMPARE(description(h.label("lblDigitUnloadData")), unload);
    // Reset and a decode of equal pointers take the words back with the yellow.
    h.window->cmdReset_Click();
    QCOMPARE(description(h.label("lblDigitLoadData")), QString());
    QCOMPARE(description(h.label("lblDigitUnloadData")), QString());
}

void tst_Accessibility::noDescriptionCarriesMarkup() {
    MainWindowHarness h;
    h.setText(QStringLiteral("<b>x</b> 00000102 ") + kWorkedExample);
    h.window->cmdDebug_Click();
    QVERIFY(!h.label("lblCallRegisterData")->toolTip().isEmpty());
    int seen = 0;
    visit(accessible(h.window), [&seen](QAccessibleInterface* node) {
        ++seen;
        const QString text = node->text(QAccessible::Description);
        QVERIFY2(!text.contains(QLatin1Char('<')) && !text.contains(QLatin1String("&lt;")),
                 qPrintable(node->text(QAccessible::Name) + QStringLiteral(": ") + text));
    });
    QVERIFY(seen > 30);
}

void tst_Accessibility::inputBoxAndWindowsAreNamed() {
    MainWindowHarness h;
    QCOMPARE(name(h.input()), QStringLiteral("BUG message text"));
    QVERIFY(!description(h.input()).isEmpty());
    QCOMPARE(name(h.window), QStringLiteral("Quillmark BUG message decoder"));
    const platform::AppInfo app{QStringLiteral("Quillmark"), 2, 0, 0};
    ui::frmSplash splash(app);
    QCOMPARE(name(&splash), QStringLiteral("Quillmark start-up screen"));
    ui::frmAbout about(app);
    QCOMPARE(name(&about), QStringLiteral("About Quillmark"));
    // Every control of the main window that a reader stops at says what it is.
    visit(accessible(h.window), [](QAccessibleInterface* node) {
        if (node->childCount() > 0 || node->state().invisible) return;
        if (node->role() == QAccessible::Separator) return;
        QVERIFY2(!node->text(QAccessible::Name).isEmpty(),
                 qPrintable(node->object() ? node->object()->objectName() : QStringLiteral("?")));
    });
}

QTEST_MAIN(tst_Accessibility)
#include "tst_Accessibility.moc"
