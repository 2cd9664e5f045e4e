// SPDX-License-Identifier: MIT
#include "ui/shell/browser/frmBrowser.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QOpenGLWidget>
#include <QTimer>
#include <QToolBar>
#include <utility>

#include "ui/common/Twips.h"
#include "ui/shell/browser/SharedOpenGLContext.h"

namespace quillmark::ui {

namespace {

// The window's arrangement is kept in twips so that the layout rules read as they are meant:
// the address box and the page keep a 100-twip margin to the right and bottom.

constexpr int kClientWidth = 10500;
constexpr int kClientHeight = 7305;
constexpr int kToolBarHeight = 540;
constexpr int kPanelTop = 540;
constexpr int kPanelHeight = 675;
constexpr int kMargin = 100;
constexpr int kAddressLeftAfterLoad = 50;
constexpr int kLabelToBoxGap = 15;
constexpr int kIconPixels = 24;
constexpr int kTimerMilliseconds = 5;
constexpr int kCarriageReturn = 13;
// How long the window's picture stays unchanged before the engine is made.
constexpr int kSettledMilliseconds = 250;

const QString kWorkingCaption = QStringLiteral("Working...");

struct ToolButton {
    const char* key;
    const char* picture;
};
constexpr ToolButton kToolButtons[] = {
    {"Back", ":/toolbar/back.svg"}, {"Forward", ":/toolbar/forward.svg"},
    {"Stop", ":/toolbar/stop.svg"}, {"Refresh", ":/toolbar/refresh.svg"},
    {"Home", ":/toolbar/home.svg"}, {"Search", ":/toolbar/search.svg"},
};

}  // namespace

frmBrowser::frmBrowser(std::unique_ptr<platform::BrowserEngine> engine, QWidget* parent)
    : frmBrowser(EngineMaker{}, parent) {
    engine_ = std::move(engine);
    attachEngine();
}

frmBrowser::frmBrowser(EngineMaker makeEngine, QWidget* parent)
    : QWidget(parent), makeEngine_(std::move(makeEngine)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmBrowser"));
    // The caption is the page's title; the name says what the window is.
    setAccessibleName(QStringLiteral("Quillmark web browser"));
    createControls();
    wireEvents();
    resize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));
    engineTimer_ = new QTimer(this);
    engineTimer_->setSingleShot(true);
    engineTimer_->setInterval(kSettledMilliseconds);
    connect(engineTimer_, &QTimer::timeout, this, &frmBrowser::makeEngine);
    // Where the page view will draw with OpenGL, the whole window is composed that way. A
    // window made without it would be destroyed and made anew when the page view arrives: it
    // would vanish for a moment and lose its place. A hidden OpenGL widget makes it right from
    // the start.
    if (makeEngine_ && ensureSharedOpenGLContext()) (new QOpenGLWidget(this))->hide();
}

void frmBrowser::attachEngine() {
    brwWebBrowser = engine_->widget();
    brwWebBrowser->setParent(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    brwWebBrowser->setGeometry(twipsRect(45, 1200, 10440, 6015));
    engine_->setEvents({
        .downloadComplete = [this] { brwWebBrowser_DownloadComplete(); },
        .navigateComplete = [this] { brwWebBrowser_NavigateComplete2(); },
    });
}

frmBrowser::~frmBrowser() {
    timTimer->stop();
    // The address box loses the focus as the window goes, after this part of it has gone.
    cboAddress->removeEventFilter(this);
    cboAddress->lineEdit()->removeEventFilter(this);
    QObject::disconnect(cboAddress, nullptr, this, nullptr);
    // The page goes before the window's own controls, and no engine event arrives meanwhile.
    engine_.reset();
}

void frmBrowser::createControls() {
    createToolBar();

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    picAddress->setGeometry(twipsRect(0, kPanelTop, kClientWidth, kPanelHeight));

    lblAddress = new QLabel(tr("&Address:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setGeometry(twipsRect(45, 60, 3075, 255));

    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The list is the history this window keeps; the box itself neither adds typed text nor
    // completes it into an older address.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setDuplicatesEnabled(true);
    cboAddress->setCompleter(nullptr);
    cboAddress->setGeometry(twipsRect(45, 300, 10395, 315));
    lblAddress->setBuddy(cboAddress);

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(kTimerMilliseconds);
}

void frmBrowser::createToolBar() {
    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setIconSize(QSize(kIconPixels, kIconPixels));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setGeometry(0, 0, twipsToPixels(kClientWidth), twipsToPixels(kToolBarHeight));
    for (const ToolButton& button : kToolButtons) {
        const QString key = QString::fromLatin1(button.key);
        QAction* action = tbToolBar->addAction(QIcon(QString::fromLatin1(button.picture)), key);
        action->setObjectName(key);
        action->setToolTip(key);
        connect(action, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
}

void frmBrowser::wireEvents() {
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);
    // Only a choice by the user: the program's own selection goes through the history code.
    connect(cboAddress, &QComboBox::activated, this, [this](int) { cboAddress_Click(); });
    // When editing ends (the focus leaves the box) the box would choose the list entry equal
    // to the typed text and report that as a choice, navigating where nobody asked to go.
    QObject::disconnect(cboAddress->lineEdit(), &QLineEdit::editingFinished, cboAddress, nullptr);
    // The window system delivers keys to the focus widget, which is the box itself (its line
    // edit only gets them passed on, past any filter); a key sent to the line edit directly
    // reaches that one. Either way Enter is seen once.
    cboAddress->installEventFilter(this);
    cboAddress->lineEdit()->installEventFilter(this);
}

void frmBrowser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (loaded_) return;
    if (!engine_) {
        // The engine is made once the window has been drawn (paintEvent).
        setWindowTitle(kWorkingCaption);
        return;
    }
    loaded_ = true;
    Form_Load();
}

void frmBrowser::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // Making the engine holds up the whole program for a second or more. The window is drawn
    // first, and its frame too: a client-drawn title bar (Wayland) arrives with a later picture.
    // So the engine is made once the window has been drawn and no new picture followed for a
    // moment.
    if (makeEngine_) engineTimer_->start();
}

void frmBrowser::makeEngine() {
    engine_ = std::exchange(makeEngine_, nullptr)();
    if (!engine_) {
        close();
        return;
    }
    attachEngine();
    brwWebBrowser->show();
    loaded_ = true;
    Form_Load();
}

void frmBrowser::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The toolbar and the address panel run along the top edge at full width.
    tbToolBar->resize(width(), tbToolBar->height());
    picAddress->resize(width(), picAddress->height());
    Form_Resize();
}

bool frmBrowser::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == cboAddress || watched == cboAddress->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            cboAddress_KeyPress(kCarriageReturn);
            // The box's own Enter handling would only choose the matching list entry and so
            // navigate a second time; the navigation has been started already.
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::Form_Load() {
    // The window is already visible here: loading happens as it is first shown.
    tbToolBar->update();
    Form_Resize();
    const int addressTop =
        pixelsToTwips(lblAddress->y()) + pixelsToTwips(lblAddress->height()) + kLabelToBoxGap;
    cboAddress->move(twipsToPixels(kAddressLeftAfterLoad), twipsToPixels(addressTop));
    if (startingAddress_.isEmpty()) return;
    cboAddress->setEditText(startingAddress_);
    cboAddress->addItem(startingAddress_);
    timTimer->start();
    engine_->navigate(startingAddress_);
}

void frmBrowser::Form_Resize() {
    // A window made smaller than the margins would give negative sizes: such a control keeps
    // its last size, the others are still laid out.
    const int clientWidth = pixelsToTwips(width());
    const int clientHeight = pixelsToTwips(height());
    const int addressWidth = clientWidth - kMargin;
    if (addressWidth >= 0) cboAddress->resize(twipsToPixels(addressWidth), cboAddress->height());
    const int pageWidth = clientWidth - kMargin;
    if (!brwWebBrowser) return;  // the page view is not there yet
    if (pageWidth >= 0) brwWebBrowser->resize(twipsToPixels(pageWidth), brwWebBrowser->height());
    const int pageHeight = clientHeight - (kPanelTop + kPanelHeight) - kMargin;
    if (pageHeight >= 0) brwWebBrowser->resize(brwWebBrowser->width(), twipsToPixels(pageHeight));
}

void frmBrowser::brwWebBrowser_DownloadComplete() { setWindowTitle(engine_->locationName()); }

void frmBrowser::brwWebBrowser_NavigateComplete2() {
    setWindowTitle(engine_->locationName());
    const QString address = engine_->locationAddress();
    const int match = cboAddress->findText(address, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    mbUpdatingHistory = true;
    if (match >= 0) cboAddress->removeItem(match);
    cboAddress->insertItem(0, address);
    cboAddress->setCurrentIndex(0);
    cboAddress_Click();
    mbUpdatingHistory = false;
}

void frmBrowser::cboAddress_Click() {
    if (mbUpdatingHistory || !engine_) return;
    timTimer->start();
    engine_->navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int keyAscii) {
    if (keyAscii == kCarriageReturn) cboAddress_Click();
}

void frmBrowser::timTimer_Timer() {
    if (engine_->busy()) {
        setWindowTitle(kWorkingCaption);
        return;
    }
    timTimer->stop();
    setWindowTitle(engine_->locationName());
}

void frmBrowser::tbToolBar_ButtonClick(const QString& key) {
    if (!engine_) return;  // the page engine is still starting
    timTimer->start();
    if (key == QLatin1String("Back")) {
        engine_->goBack();
    } else if (key == QLatin1String("Forward")) {
        engine_->goForward();
    } else if (key == QLatin1String("Refresh")) {
        engine_->refresh();
    } else if (key == QLatin1String("Home")) {
        engine_->goHome();
    } else if (key == QLatin1String("Search")) {
        engine_->goSearch();
    } else if (key == QLatin1String("Stop")) {
        timTimer->stop();
        engine_->stop();
        setWindowTitle(engine_->locationName());
    }
}

}  // namespace quillmark::ui
