// SPDX-License-Identifier: MIT
#include "ui/shell/frmSplash.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <array>
#include <initializer_list>

#include "quillmark/version.h"
#include "resources/ProgramIcon.h"
#include "ui/common/Twips.h"
#include "ui/common/VersionText.h"
#include "ui/common/WindowLook.h"

namespace quillmark::ui {

namespace {

// Client area 7215 x 2850 twips inside a one-pixel fixed border.
constexpr int kBorderPixels = 1;

// Which of the splash's labels a row describes.
using LabelMember = QLabel* frmSplash::*;

struct SplashLabel {
    LabelMember control;
    const char* name;
    const char* designText;
    QRect twips;
    qreal points;
    bool bold;
    bool italic;
    QColor colour;
    Qt::Alignment alignment;
};

// Drawn on the frame's white, which shows through: labels overlap, and a label filling its
// own background would cover a neighbour's descenders.
QLabel* createLabel(QWidget* parent, const SplashLabel& design) {
    const QRect& t = design.twips;
    return look::createLabel(parent,
                             {.name = design.name,
                              .text = QString::fromUtf8(design.designText),
                              .geometry = twipsRect(t.x(), t.y(), t.width(), t.height()),
                              .font = look::tahomaFont(design.points, design.bold, design.italic),
                              .alignment = design.alignment | Qt::AlignTop,
                              .colours = {design.colour, look::kWhite}});
}

}  // namespace

frmSplash::frmSplash(const platform::AppInfo& app, QWidget* parent)
    // Window managers that know no "frameless" hint (twm, the X11 side of weston) frame every
    // window they manage, so on X11 the splash is not managed at all; Wayland ignores that flag.
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Between the splash closing and the main window showing, no window is visible; that
    // moment must not end the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    createControls();
    Form_Load(app);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(kTimer1IntervalMs);
    // An ordinary timer may come due up to 5% early; the hand-over must not.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
    loaded_.start();
}

void frmSplash::createControls() {
    const QSize client = twipsRect(0, 0, 7215, 2850).size();
    setFixedSize(client + QSize(2 * kBorderPixels, 2 * kBorderPixels));
    look::setBackground(this, look::kDarkGrey);
    setAccessibleName(QStringLiteral("Quillmark start-up screen"));

    // Children are clipped to the client area, which hides the frame's own border.
    client_ = new QWidget(this);
    client_->setGeometry(QRect(QPoint(kBorderPixels, kBorderPixels), client));

    fraMainFrame = new QFrame(client_);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setGeometry(twipsRect(-120, -120, 7380, 3015));
    // Black text unless a label says otherwise; the frame's border, never seen, too.
    look::setColours(fraMainFrame, {look::kBlack, look::kWhite}, true);

    // Positions below are inside the client area; the frame starts 120 twips above and left.
    const QPoint inFrame = -fraMainFrame->pos();

    picLogo = new QLabel(fraMainFrame);
    picLogo->setObjectName(QStringLiteral("picLogo"));
    picLogo->setGeometry(twipsRect(240, 240, 1140, 1140).translated(inFrame));
    picLogo->setAlignment(Qt::AlignCenter);
    picLogo->setPixmap(resources::programPicture(72, devicePixelRatioF()));

    // clang-format off
    const std::array<SplashLabel, 5> labels{{
        {&frmSplash::lblAppName, "lblAppName", "Quillmark",
         {1440, 240, 5895, 1215}, 36, true, false, look::kBlue, Qt::AlignHCenter},
        {&frmSplash::lblAppDesc, "lblAppDesc", "Nortel BUG Message Decoder",
         {1320, 960, 6015, 375}, 15.75, false, true, look::kBlack, Qt::AlignHCenter},
        {&frmSplash::lblEval, "lblEval", "ashgrove.dev",
         {2040, 1560, 4815, 855}, 26.25, true, false, look::kRed, Qt::AlignHCenter},
        {&frmSplash::lblDevName, "lblDevName", "Developer",
         {120, 2640, 5775, 255}, 8.25, false, false, look::kBlack, Qt::AlignLeft},
        {&frmSplash::lblCopyright, "lblCopyright", version::kCopyrightShort,
         {5400, 2640, 1935, 255}, 8.25, false, false, look::kBlack, Qt::AlignHCenter},
    }};
    // clang-format on
    for (const SplashLabel& design : labels) {
        QLabel* label = createLabel(fraMainFrame, design);
        label->move(label->pos() + inFrame);
        this->*design.control = label;
    }

    for (QWidget* control : std::initializer_list<QWidget*>{
             fraMainFrame, picLogo, lblAppName, lblAppDesc, lblEval, lblDevName, lblCopyright}) {
        control->installEventFilter(this);
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred = rect();
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }
}

void frmSplash::Form_Load(const platform::AppInfo& app) {
    lblDevName->setText(splashVersionLine(app));
}

void frmSplash::Timer1_Timer() {
    // Should the tick still come before its time, it waits out the rest.
    const qint64 early = Timer1->interval() - loaded_.elapsed();
    if (early > 0) {
        QTimer::singleShot(int(early), Qt::PreciseTimer, this, &frmSplash::Timer1_Timer);
        return;
    }
    handOver();
}

void frmSplash::Control_Click() { handOver(); }

void frmSplash::handOver() { close(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    // A click completes when the left button comes up over the control it went down on.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* control = qobject_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton && control &&
            control->rect().contains(mouse->position().toPoint())) {
            Control_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::closeEvent(QCloseEvent* event) {
    // However the splash goes (click, timer, or the window system closing it), it unloads:
    // the timer stops now and the window is destroyed right after this event.
    Timer1->stop();
    event->accept();
}

}  // namespace quillmark::ui
