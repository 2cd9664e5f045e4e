// SPDX-License-Identifier: MIT
// Every text of every window reads against what it is drawn on, under light and dark desktop
// palettes: fixed backgrounds bring their own text colour, the rest follows the system.
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <memory>

#include "tests/ui/MainWindowHarness.h"
#include "ui/common/WindowLook.h"
#include "ui/shell/frmAbout.h"
#include "ui/shell/frmSplash.h"

using namespace quillmark;
using namespace quillmark::test;
using ui::look::contrastRatio;

namespace {

constexpr double kReadable = 4.5;  // WCAG AA for text of any size

QPalette makePalette(QColor window, QColor text, QColor base, QColor button, QColor highlight,
                     QColor highlightedText, QColor disabledText) {
    QPalette palette(button, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, highlightedText);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}

// The desktop palettes the windows are checked under.
QPalette desktopPalette(const QString& name) {
    if (name == QLatin1String("dark"))  // as a dark GTK theme hands it to Qt
        return makePalette(QColor(0x35, 0x35, 0x35), QColor(0xEE, 0xEE, 0xEC),
                           QColor(0x2D, 0x2D, 0x2D), QColor(0x3A, 0x3A, 0x3A),
                           QColor(0x15, 0x53, 0x9E), QColor(0xFF, 0xFF, 0xFF),
                           QColor(0x91, 0x91, 0x91));
    if (name == QLatin1String("dark, dark highlighted text"))
        return makePalette(QColor(0x20, 0x20, 0x20), QColor(0xFF, 0xFF, 0xFF),
                           QColor(0x10, 0x10, 0x10), QColor(0x30, 0x30, 0x30),
                           QColor(0xFF, 0xD7, 0x00), QColor(0x00, 0x00, 0x00),
                           QColor(0x80, 0x80, 0x80));
    return makePalette(QColor(0xEF, 0xEF, 0xEF), QColor(0x00, 0x00, 0x00),
                       QColor(0xFF, 0xFF, 0xFF), QColor(0xEF, 0xEF, 0xEF),
                       QColor(0x30, 0x8C, 0xC6), QColor(0xFF, 0xFF, 0xFF),
                       QColor(0x6E, 0x6E, 0x6E));
}

QPalette::ColorGroup groupOf(const QWidget* widget) {
    return widget->isEnabled() ? QPalette::Active : QPalette::Disabled;
}

// The colour a control's background shows: its own when it paints it, else what the nearest
// painting ancestor (or the window) paints.
QColor backgroundBehind(const QWidget* widget, QPalette::ColorRole role = QPalette::Window) {
    const QPalette::ColorGroup group = groupOf(widget);
    if (role != QPalette::Window) return widget->palette().color(group, role);
    const QWidget* painter = widget;
    while (!painter->autoFillBackground() && !painter->isWindow()) painter = painter->parentWidget();
    return painter->palette().color(group, QPalette::Window);
}

// Every text a window draws, with the colours the style draws it in.
struct DrawnText {
    QString control;
    QColor text;
    QColor background;
};

QList<DrawnText> drawnTexts(QWidget* window) {
    QList<DrawnText> drawn;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        if (!control->isVisibleTo(window) && control != window) continue;
        const QPalette::ColorGroup group = groupOf(control);
        const QString name = control->objectName();
        if (auto* label = qobject_cast<QLabel*>(control)) {
            if (label->text().isEmpty()) continue;
            drawn.append({name, label->palette().color(group, QPalette::WindowText),
                          backgroundBehind(label)});
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            drawn.append({name, button->palette().color(group, QPalette::ButtonText),
                          backgroundBehind(button, QPalette::Button)});
        } else if (auto* choice = qobject_cast<QAbstractButton*>(control)) {
            drawn.append({name, choice->palette().color(group, QPalette::WindowText),
                          backgroundBehind(choice)});
        } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            const QColor title = QColor::fromRgba(static_cast<QRgb>(
                frame->style()->styleHint(QStyle::SH_GroupBox_TextLabelColor, &option, frame)));
            drawn.append({name + QStringLiteral(" title"), title, backgroundBehind(frame)});
        } else if (auto* box = qobject_cast<QPlainTextEdit*>(control)) {
            drawn.append({name, box->palette().color(group, QPalette::Text),
                          backgroundBehind(box, QPalette::Base)});
        }
    }
    return drawn;
}

// The most contrasting pixel of a label's inside against its background: a near-white text on
// white stays near 1, whatever the palette says.
double drawnContrast(QLabel* label) {
    const QImage image = label->grab(label->contentsRect()).toImage();
    const QColor background = image.pixelColor(0, 0);
    double best = 1.0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, contrastRatio(image.pixelColor(x, y), background));
    return best;
}

}  // namespace

class tst_DarkTheme : public QObject {
    Q_OBJECT
private slots:
    void contrastRatioFollowsTheFormula_data();
    void contrastRatioFollowsTheFormula();

    void everyTextReads_data();
    void everyTextReads();
    void resultsAreDrawnReadable_data();
    void resultsAreDrawnReadable();
    void systemControlsFollowThePalette();

    void cleanup() { QApplication::setPalette(desktopPalette(QStringLiteral("light"))); }
};

void tst_DarkTheme::contrastRatioFollowsTheFormula_data() {
    QTest::addColumn<QColor>("a");
    QTest::addColumn<QColor>("b");
    QTest::addColumn<double>("ratio");
    QTest::newRow("black on white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
    QTest::newRow("same colour") << QColor(0x80, 0x80, 0x80) << QColor(0x80, 0x80, 0x80) << 1.0;
    QTest::newRow("order does not matter") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
    QTest::newRow("pure red on white") << QColor(0xFF, 0, 0) << QColor(Qt::white) << 3.998;
    QTest::newRow("white on teal") << QColor(Qt::white) << QColor(0, 0x80, 0x80) << 4.77;
    QTest::newRow("black on teal") << QColor(Qt::black) << QColor(0, 0x80, 0x80) << 4.40;
    QTest::newRow("near-white on white") << QColor(0xEE, 0xEE, 0xEC) << QColor(Qt::white) << 1.16;
}

void tst_DarkTheme::contrastRatioFollowsTheFormula() {
    QFETCH(QColor, a);
    QFETCH(QColor, b);
    QFETCH(double, ratio);
    QVERIFY2(std::abs(contrastRatio(a, b) - ratio) < 0.01, qPrintable(QString::number(contrastRatio(a, b))));
}

void tst_DarkTheme::everyTextReads_data() {
    QTest::addColumn<QString>("palette");
    QTest::addColumn<QString>("window");
    for (const char* palette : {"light", "dark", "dark, dark highlighted text"})
        for (const char* window : {"main, opened", "main, pointers differ", "splash", "about"})
            QTest::addRow("%s: %s", palette, window) << palette << window;
}

void tst_DarkTheme::everyTextReads() {
    QFETCH(QString, palette);
    QFETCH(QString, window);
    QApplication::setPalette(desktopPalette(palette));

    std::unique_ptr<MainWindowHarness> main;
    std::unique_ptr<QWidget> other;
    QWidget* shown = nullptr;
    const platform::AppInfo app{QStringLiteral("Quillmark"), 2, 0, 0};
    if (window.startsWith(QLatin1String("main"))) {
        main = std::make_unique<MainWindowHarness>();
        main->choose("mnuViewConverter");
        if (window.endsWith(QLatin1String("differ"))) {
            main->setText(kWorkedExample);
            main->window->cmdDebug_Click();
        }
        shown = main->window;
    } else if (window == QLatin1String("splash")) {
        other = std::make_unique<ui::frmSplash>(app);
        shown = other.get();
    } else {
        other = std::make_unique<ui::frmAbout>(app);
        shown = other.get();
    }
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown));

    const QList<DrawnText> drawn = drawnTexts(shown);
    QVERIFY(drawn.size() >= 5);
    for (const DrawnText& text : drawn) {
        const double ratio = contrastRatio(text.text, text.background);
        QVERIFY2(ratio >= kReadable, qPrintable(QStringLiteral("%1: %2 on %3 is %4:1")
                                                    .arg(text.control, text.text.name(),
                                                         text.background.name())
                                                    .arg(ratio, 0, 'f', 2)));
    }
}

void tst_DarkTheme::resultsAreDrawnReadable_data() {
    QTest::addColumn<QString>("palette");
    for (const char* palette : {"light", "dark"}) QTest::newRow(palette) << palette;
}

void tst_DarkTheme::resultsAreDrawnReadable() {
    QFETCH(QString, palette);
    QApplication::setPalette(desktopPalette(palette));
    MainWindowHarness h;
    QVERIFY(h.showActive());
    h.setText(kWorkedExample);
    h.click("cmdDebug");
    for (const char* name : kResultLabels) {
        const double ratio = drawnContrast(h.label(name));
        QVERIFY2(ratio >= kReadable, qPrintable(QStringLiteral("%1: %2:1").arg(name).arg(ratio)));
    }
    const double caption = drawnContrast(h.label("lblMainPM"));
    QVERIFY2(caption >= kReadable, qPrintable(QString::number(caption)));
}

void tst_DarkTheme::systemControlsFollowThePalette() {
    const QPalette dark = desktopPalette(QStringLiteral("dark"));
    QApplication::setPalette(dark);
    MainWindowHarness h;
    ui::frmAbout about({QStringLiteral("Quillmark"), 2, 0, 0});
    const auto same = [&dark](const QWidget* control, QPalette::ColorRole text,
                              QPalette::ColorRole background) {
        return control->palette().color(text) == dark.color(text) &&
               control->palette().color(background) == dark.color(background);
    };
    QVERIFY(same(h.input(), QPalette::Text, QPalette::Base));
    for (QPushButton* button : h.window->findChildren<QPushButton*>())
        QVERIFY2(same(button, QPalette::ButtonText, QPalette::Button),
                 qPrintable(button->objectName()));
    for (QLabel* label : about.findChildren<QLabel*>())
        QVERIFY2(same(label, QPalette::WindowText, QPalette::Window),
                 qPrintable(label->objectName()));
    QVERIFY(same(&about, QPalette::WindowText, QPalette::Window));
}

QTEST_MAIN(tst_DarkTheme)
#include "tst_DarkTheme.moc"
