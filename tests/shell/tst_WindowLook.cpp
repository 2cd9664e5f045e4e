// SPDX-License-Identifier: MIT
// What every window shows and tells, whatever the desktop: each text reads against what it
// is drawn on under light and dark palettes, and screen readers get names, values as text and
// the pointers' yellow in words, never markup.
#include <QAccessible>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <algorithm>
#include <memory>

#include "tests/ui/MainWindowHarness.h"
#include "ui/common/WindowLook.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmSplash.h"

using namespace quillmark;
using namespace quillmark::test;
using ui::look::contrastRatio;

namespace {

constexpr double kReadable = 4.5;  // WCAG AA, text of any size
const platform::AppInfo kApp{QStringLiteral("Quillmark"), 2, 0, 0};

// A desktop palette: window, text, base, button, highlighted text, disabled text.
QPalette desktop(const QString& name) {
    const bool dark = name.startsWith(QLatin1String("dark"));
    const QColor window = dark ? QColor(0x35, 0x35, 0x35) : QColor(0xEF, 0xEF, 0xEF);
    const QColor text = dark ? QColor(0xEE, 0xEE, 0xEC) : QColor(Qt::black);
    QPalette palette(dark ? QColor(0x3A, 0x3A, 0x3A) : window, window);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(role, text);
    palette.setColor(QPalette::Base, dark ? QColor(0x2D, 0x2D, 0x2D) : QColor(Qt::white));
    // Some high-contrast themes highlight in yellow with black text.
    palette.setColor(
        QPalette::HighlightedText,
        name.endsWith(QLatin1String("black highlighted text")) ? Qt::black : Qt::white);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x91, 0x91, 0x91));
    return palette;
}

// The colour shown behind a control: its own if it paints it, else its nearest painter's.
QColor behind(const QWidget* control, QPalette::ColorGroup group) {
    while (!control->autoFillBackground() && !control->isWindow())
        control = control->parentWidget();
    return control->palette().color(group, QPalette::Window);
}

// The most contrasting pixel inside a label against its corner: near 1 for light on white.
double drawnContrast(QLabel* label) {
    const QImage image = label->grab(label->contentsRect()).toImage();
    double best = 1.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, contrastRatio(image.pixelColor(x, y), image.pixelColor(0, 0)));
    return best;
}

QAccessibleInterface* accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

void visit(QAccessibleInterface* node, const std::function<void(QAccessibleInterface*)>& act) {
    act(node);
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i)) visit(child, act);
}

}  // namespace

class tst_WindowLook : public QObject {
    Q_OBJECT
private slots:
    void contrastRatioFollowsTheFormula();
    void everyTextReads_data();
    void everyTextReads();
    void resultsAreNamedByTheirCaptionsAndReadAsText();
    void pointersSayWhenTheyDiffer();
    void windowsAndInputBoxAreNamed();

    void cleanup() { QApplication::setPalette(desktop(QStringLiteral("light"))); }
};

void tst_WindowLook::contrastRatioFollowsTheFormula() {
    QCOMPARE(contrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(contrastRatio(Qt::white, Qt::black), 21.0);
    QCOMPARE(qRound(contrastRatio(QColor(0xFF, 0, 0), Qt::white) * 100), 400);     // pure red
    QCOMPARE(qRound(contrastRatio(Qt::black, QColor(0, 0x80, 0x80)) * 100), 440);  // on teal
    QCOMPARE(qRound(contrastRatio(Qt::white, QColor(0, 0x80, 0x80)) * 100), 477);
}

void tst_WindowLook::everyTextReads_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("window");
    for (const char* palette : {"light", "dark", "dark, black highlighted text"})
        for (const char* window : {"main", "main, pointers differ", "splash", "about"})
            QTest::addRow("%s: %s", palette, window) << palette << window;
}

void tst_WindowLook::everyTextReads() {
    QFETCH(QString, palette);
    QFETCH(QString, window);
    const QPalette system = desktop(palette);
    QApplication::setPalette(system);
    MainWindowHarness h;
    h.choose("mnuViewConverter");
    if (window.endsWith(QLatin1String("differ"))) {
        h.setText(kWorkedExample);
        h.window->cmdDebug_Click();
    }
    std::unique_ptr<QWidget> other;
    if (window == QLatin1String("splash")) other = std::make_unique<ui::frmSplash>(kApp);
    if (window == QLatin1String("about")) other = std::make_unique<ui::frmAbout>(kApp);
    QWidget* shown = other ? other.get() : h.window.data();
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    int texts = 0;
    for (QWidget* control : shown->findChildren<QWidget*>()) {
        if (!control->isVisibleTo(shown)) continue;
        const auto group = control->isEnabled() ? QPalette::Active : QPalette::Disabled;
        QColor text = control->palette().color(group, QPalette::WindowText);
        QColor background = behind(control, group);
        if (auto* label = qobject_cast<QLabel*>(control); label && label->text().isEmpty())
            continue;
        if (qobject_cast<QPushButton*>(control)) {
            // Buttons and the input box draw their own background: they follow the system.
            QCOMPARE(control->palette().color(QPalette::ButtonText),
                     system.color(QPalette::ButtonText));
            text = control->palette().color(group, QPalette::ButtonText);
            background = control->palette().color(group, QPalette::Button);
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            text = QColor::fromRgba(static_cast<QRgb>(
                frame->style()->styleHint(QStyle::SH_GroupBox_TextLabelColor, &option, frame)));
        } else if (control == h.input()) {
            QCOMPARE(control->palette().color(QPalette::Base), system.color(QPalette::Base));
            continue;
        } else if (!qobject_cast<QLabel*>(control) && !qobject_cast<QAbstractButton*>(control)) {
            continue;
        }
        ++texts;
        const double ratio = contrastRatio(text, background);
        QVERIFY2(ratio >= kReadable,
                 qPrintable(QStringLiteral("%1: %2 on %3, %4:1")
                                .arg(control->objectName(), text.name(), background.name())
                                .arg(ratio, 0, 'f', 2)));
    }
    QVERIFY(texts >= 5);
    if (window == QLatin1String("about"))  // its labels follow the dialog, which follows the system
        QCOMPARE(other->findChild<QLabel*>("lblTitle")->palette().color(QPalette::WindowText),
                 system.color(QPalette::WindowText));
    if (!other) {  // as drawn, not only as the palette says
        for (const char* name : {"lblMainPMData", "lblDigitLoadData", "lblMainPM"})
            QVERIFY2(drawnContrast(h.label(name)) >= kReadable || h.label(name)->text().isEmpty(),
                     name);
    }
}

void tst_WindowLook::resultsAreNamedByTheirCaptionsAndReadAsText() {
    MainWindowHarness h;
    // Markup typed into the input reaches a result and its tooltip, never a description.
    h.setText(QStringLiteral("<b>x</b> ") + kWorkedExample.section(QLatin1Char(' '), 1));
    h.window->cmdDebug_Click();
    for (const FieldRow& row : kFields) {
        QLabel* field = h.window->findChild<QLabel*>(resultLabelName(row));
        QAccessibleInterface* node = accessible(field);
        const auto captions = node->relations(QAccessible::Label);
        QCOMPARE(captions.size(), 1);
        QCOMPARE(node->text(QAccessible::Name), captions.front().first->text(QAccessible::Name));
        QCOMPARE(node->role(), QAccessible::StaticText);
        QCOMPARE(node->text(QAccessible::Value), field->text());
        QCOMPARE(node->textInterface()->text(0, node->textInterface()->characterCount()),
                 field->text());
    }
    QCOMPARE(accessible(h.label("lblMainPMData"))->text(QAccessible::Name),
             QStringLiteral("Main PM"));
    QCOMPARE(accessible(h.label("lblCallRegisterData"))->text(QAccessible::Value),
             QStringLiteral("<b>x</b>"));
    // Every control a reader stops at says what it is; no description carries markup.
    int described = 0;
    visit(accessible(h.window), [&described](QAccessibleInterface* node) {
        const QString text = node->text(QAccessible::Description);
        described += text.isEmpty() ? 0 : 1;
        QVERIFY2(!text.contains(QLatin1Char('<')) && !text.contains(QLatin1Char('&')),
                 qPrintable(text));
        if (node->childCount() == 0 && !node->state().invisible &&
            node->role() != QAccessible::Separator)
            QVERIFY2(!node->text(QAccessible::Name).isEmpty(),
                     qPrintable(node->object()->objectName()));
    });
    QVERIFY(described >= 1);
}

void tst_WindowLook::pointersSayWhenTheyDiffer() {
    MainWindowHarness h;
    const auto descriptions = [&h] {
        return QStringList{
            accessible(h.label("lblDigitLoadData"))->text(QAccessible::Description),
            accessible(h.label("lblDigitUnloadData"))->text(QAccessible::Description)};
    };
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    QCOMPARE(descriptions(),
             (QStringList{"differs from Digit UnLoad pointer; from word 12, bit characters 28-32",
                          "differs from Digit Load pointer; from word 12, bit characters 23-27"}));
    h.setText(QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 00000000"));  // equal pointers
    h.window->cmdDebug_Click();
    QCOMPARE(descriptions(), (QStringList{"from word 12, bit characters 28-32",
                                          "from word 12, bit characters 23-27"}));
    h.setText(kWorkedExample);
    h.window->cmdDebug_Click();
    h.window->cmdReset_Click();
    QCOMPARE(descriptions(), QStringList(2, QString()));
}

void tst_WindowLook::windowsAndInputBoxAreNamed() {
    MainWindowHarness h;
    ui::frmSplash splash(kApp);
    ui::frmAbout about(kApp);
    QCOMPARE((QStringList{accessible(h.window)->text(QAccessible::Name),
                          accessible(h.input())->text(QAccessible::Name),
                          accessible(&splash)->text(QAccessible::Name),
                          accessible(&about)->text(QAccessible::Name)}),
             (QStringList{"Quillmark BUG message decoder", "BUG message text",
                          "Quillmark start-up screen", "About Quillmark"}));
}

QTEST_MAIN(tst_WindowLook)
#include "tst_WindowLook.moc"
