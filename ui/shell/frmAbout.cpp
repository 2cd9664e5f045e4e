// SPDX-License-Identifier: MIT
#include "ui/shell/frmAbout.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "platform/OwnTitleBar.h"
#include "platform/WindowList.h"
#include "resources/ProgramIcon.h"
#include "ui/common/Twips.h"
#include "ui/common/VersionText.h"
#include "ui/common/WindowLook.h"

namespace quillmark::ui {

namespace {

// The labels follow the system palette, text and background alike, as the dialog does: black
// on a light theme's dialog colour, light text on a dark theme's.
QLabel* createLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                    bool wrap) {
    return look::createLabel(parent, {.name = name,
                                      .text = text,
                                      .geometry = geometry,
                                      .font = look::windowFont(),
                                      .wrap = wrap});
}

}  // namespace

frmAbout::frmAbout(const platform::AppInfo& app, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFont(look::windowFont());
    setFixedSize(twipsRect(0, 0, 5865, 3630).size());
    createControls();
    Form_Load(app);
    platform::useOwnTitleBar(this);
}

void frmAbout::createControls() {
    // First in the tab order, so Enter and Esc work from the moment the box opens.
    cmdOK = new QPushButton(QStringLiteral("Close"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4245, 2625, 1467, 345));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(4560, 120, 1140, 1140));
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setPixmap(resources::programPicture(72, devicePixelRatioF()));

    lblTitle = createLabel(this, "lblTitle", QStringLiteral("Application Title"),
                           twipsRect(1050, 240, 4092, 480), false);
    lblVersion = createLabel(this, "lblVersion", QStringLiteral("Version"),
                             twipsRect(1050, 780, 4092, 225), false);
    lblDescription = createLabel(this, "lblDescription", QString::fromLatin1(kDescription),
                                 twipsRect(1050, 1125, 4092, 1170), true);
    lblDisclaimer = createLabel(this, "lblDisclaimer", QString::fromLatin1(kDisclaimer),
                                twipsRect(255, 2625, 3870, 825), true);
    cmdOK->setFocus();
}

void frmAbout::Form_Load(const platform::AppInfo& app) {
    lblVersion->setText(aboutVersionLine(app));
    lblTitle->setText(app.title);
}

// The cancel role: QDialog closes on Esc by itself; the default role takes Enter.
void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Line1: a grey line over a two-pixel white one, which the eye reads as an etched groove.
    QPainter painter(this);
    painter.translate(contentsRect().topLeft());  // below a title bar of the window's own
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.drawLine(QPoint(twipsToPixels(225), twipsToPixels(2430)),
                     QPoint(twipsToPixels(5657), twipsToPixels(2430)));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPoint(twipsToPixels(240), twipsToPixels(2445) + 1),
                     QPoint(twipsToPixels(5657), twipsToPixels(2445) + 1));
}

void showAbout(const platform::AppInfo& app, platform::WindowList& windows, QWidget* owner) {
    // Guarded: if the owner goes while the box is open, it takes the box with it.
    QPointer<frmAbout> about = new frmAbout(app, owner);
    windows.add(about);
    about->exec();
    delete about.data();
}

}  // namespace quillmark::ui
