// SPDX-License-Identifier: MIT
#include "ui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <optional>

#include "decoder/field_catalogue.h"
#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"
#include "platform/OwnTitleBar.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "platform/WindowList.h"
#include "ui/common/FieldAccessible.h"
#include "ui/common/Twips.h"
#include "ui/common/VersionText.h"
#include "ui/common/WindowLook.h"
#include "ui/main/AreaMarks.h"
#include "ui/main/InputBox.h"
#include "ui/main/ResultLinks.h"
#include "ui/main/TextViews.h"

namespace quillmark::ui {

namespace {

const QString kNortelHome = QStringLiteral("http://www.nortel.com");
const QString kNortelNewsgroup =
    QStringLiteral("http://groups.google.com/groups?hl=en&group=comp.dcom.sys.nortel");

const QString kConfirmation = QStringLiteral("\r\n\r\nABOVE TEXT COPIED TO CLIPBOARD");
const QString kCutMessage = QStringLiteral("Add 'mnuEditCut_Click' code.");
const QString kPasteSpecialMessage = QStringLiteral("Add 'mnuEditPasteSpecial_Click' code.");
const QString kClipboardNotOpened =
    QStringLiteral("The clipboard cannot be opened. Nothing was copied.");
const QString kClipboardNotWritten =
    QStringLiteral("The clipboard cannot be written. Nothing was copied.");
const QString kClipboardNotReadBack = QStringLiteral(
    "The results were put on the clipboard, but the clipboard cannot be read back to show them.");
const QString kClipboardNotRead =
    QStringLiteral("The clipboard cannot be read. Nothing was pasted.");

// The fixed colours of a result field: black on white, or on yellow while the pointers differ.
const look::Colours kResultColours{look::kBlack, look::kWhite};
const look::Colours kHighlightColours{look::kBlack, look::kYellow};
// Caption labels: white, the classic highlighted-text colour, which reads on teal.
const look::Colours kCaptionColours{look::kWhite, look::kTeal};

const QString kInputName = QStringLiteral("BUG message text");
const QString kInputDescription = QStringLiteral(
    "The call register words of a BUG message, eight hex digits each, separated by spaces");
const QString kWindowName = QStringLiteral("Quillmark BUG message decoder");

// Where each result row stands (twips), keyed by Field: the one thing about a field that only
// the window has. Its caption label's name and text come from the field catalogue, and its
// result label is named "lbl" + the field's key + "Data".
struct ResultGeometry {
    Field field;
    int captionLeft;
    int captionWidth;
    int resultLeft;
    int top;
};

// clang-format off
constexpr std::array kResultGeometry{
    // field                           left  width  result  top
    ResultGeometry{Field::CallRegister, 360,  1095,  1680,   1680},
    ResultGeometry{Field::MainPM,       360,  1095,  1680,   2040},
    ResultGeometry{Field::AuxPM,        360,  1095,  1680,   2400},
    ResultGeometry{Field::OrigType,     360,  1095,  1680,   2760},
    ResultGeometry{Field::TermType,     360,  1095,  1680,   3120},
    ResultGeometry{Field::OrigTN,       360,  1095,  1680,   3480},
    ResultGeometry{Field::TermTN,       360,  1095,  1680,   3840},
    ResultGeometry{Field::Queue,        360,  1095,  1680,   4200},
    ResultGeometry{Field::CRLink,       360,  1095,  1680,   4560},
    ResultGeometry{Field::CRBakLink,    120,  1335,  1680,   4920},
    ResultGeometry{Field::AuxCR,        120,  1335,  1680,   5280},
    ResultGeometry{Field::CRDialed,     4680, 1095,  6000,   1680},
    ResultGeometry{Field::DigitLoad,    4680, 1095,  6000,   2040},
    ResultGeometry{Field::DigitUnload,  4440, 1335,  6000,   2400},
    ResultGeometry{Field::DigsDialed,   4440, 1335,  6000,   2760},
};
// clang-format on
// Every field of the catalogue has exactly one row.
constexpr bool EveryFieldPlacedOnce() {
    for (const FieldRow& field : kFields) {
        std::size_t rows = 0;
        for (const ResultGeometry& row : kResultGeometry) rows += row.field == field.field;
        if (rows != 1) return false;
    }
    return kResultGeometry.size() == kFieldCount;
}
static_assert(EveryFieldPlacedOnce(), "kResultGeometry misses a field or places one twice");

constexpr const ResultGeometry& GeometryOf(Field field) {
    for (const ResultGeometry& row : kResultGeometry)
        if (row.field == field) return row;
    return kResultGeometry.front();
}

constexpr int kResultWidth = 2535;
// Fixed outer size of the main window, frame included.
constexpr QSize kMainOuterSize = twipsSize(8790, 6345);
// Where the load step puts the window: the top-left corner of the screen.
constexpr QPoint kLoadPlace{0, 0};
constexpr int kRowHeight = 255;
// The window states that give a window the size of its screen, which this one never takes.
constexpr Qt::WindowStates kFillingStates = Qt::WindowMaximized | Qt::WindowFullScreen;
// The largest frame a window manager draws around a window in its normal state: a border on
// each side, a title bar on top (pixels). A larger one is not this window's normal frame.
constexpr int kMaxFrameSide = 32;
constexpr int kMaxFrameTop = 96;

}  // namespace

frmMain::frmMain(MainWindowServices services, QWidget* parent, Controls controls)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (controls == Controls::AtLoad) completeControls();
    Form_Load();
    services_.windows.add(this);
}

frmMain::~frmMain() {
    // The focus moves while the controls are destroyed; the ring has nothing left to draw on.
    disconnect(qApp, nullptr, this, nullptr);
    if (txtDebugData) txtDebugData->disconnect(this);
}

void frmMain::completeControls() {
    if (controlsComplete_) return;
    controlsComplete_ = true;
    createControls();
    createMenus();
    wireEvents();
}

QString frmMain::caption(const platform::AppInfo& app) { return titleAndVersion(app); }

// ---- Building the window ---------------------------------------------------------------------

void frmMain::createControls() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(look::windowFont());
    setAccessibleName(kWindowName);

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    look::setBackground(area, look::kTeal);
    setCentralWidget(area);
    areaMarks_ = new AreaMarks(area);
    areaMarks_->setObjectName(QStringLiteral("areaMarks"));

    txtDebugData = new InputBox(area);
    txtDebugData->setObjectName(QStringLiteral("txtDebugData"));
    txtDebugData->setAccessibleName(kInputName);
    txtDebugData->setAccessibleDescription(kInputDescription);
    txtDebugData->setGeometry(twipsRect(120, 120, 8415, 1455));
    txtDebugData->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto button = [area](QPushButton*& control, const char* name, const char* caption,
                         QRect where) {
        control = new QPushButton(QString::fromLatin1(caption), area);
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(where);
        control->setAutoDefault(false);
        control->setDefault(false);
    };
    button(cmdTrim, "cmdTrim", "Trim Text", twipsRect(6000, 3120, 1215, 375));
    button(cmdRestore, "cmdRestore", "Restore Text", twipsRect(7320, 3120, 1215, 375));
    button(cmdDebug, "cmdDebug", "DeBug", twipsRect(7200, 3720, 1335, 375));
    button(cmdCopyResult, "cmdCopyResult", "Copy Results", twipsRect(7200, 4200, 1335, 375));
    button(cmdReset, "cmdReset", "Reset", twipsRect(7200, 4680, 1335, 375));
    button(cmdExit, "cmdExit", "Quit", twipsRect(7200, 5160, 1335, 375));

    createResultRows(area);
    createConverter(area);

    setTabOrder(txtDebugData, cmdDebug);
    setTabOrder(cmdDebug, cmdExit);
    setTabOrder(cmdExit, cmdReset);
    setTabOrder(cmdReset, cmdTrim);
    setTabOrder(cmdTrim, cmdRestore);
    setTabOrder(cmdRestore, cmdCopyResult);
    txtDebugData->setFocus();

    links_ = std::make_unique<ResultLinks>(
        ResultLinks::Controls{txtDebugData, areaMarks_, results_, captions_});
    platform::useOwnTitleBar(this);  // where the toolkit's would offer to maximise the window
}

void frmMain::createResultRows(QWidget* area) {
    for (const FieldRow& field : kFields) {
        const ResultGeometry& row = GeometryOf(field.field);
        const QByteArray captionName(field.label.data(),
                                     static_cast<qsizetype>(field.label.size()));

        QLabel* caption = look::createLabel(
            area, {.name = captionName.constData(),
                   .text = fromUtf8(field.caption),
                   .geometry = twipsRect(row.captionLeft, row.top, row.captionWidth, kRowHeight),
                   .font = look::windowFont(true),
                   .alignment = Qt::AlignRight | Qt::AlignTop,
                   .colours = kCaptionColours,
                   .fill = true});

        const QByteArray resultName =
            "lbl" + QByteArray(field.key.data(), field.key.size()) + "Data";
        QLabel* result = look::createLabel(
            area, {.name = resultName.constData(),
                   .text = QString(),
                   .geometry = twipsRect(row.resultLeft, row.top, kResultWidth, kRowHeight),
                   .alignment = Qt::AlignRight | Qt::AlignVCenter,
                   .colours = kResultColours,
                   .fill = true,
                   .border = look::Border::Line});
        // Screen readers name the field by its caption and read its value as its text.
        caption->setBuddy(result);
        makeAccessibleField(result, caption->text());
        result->installEventFilter(&plainToolTips_);
        results_[IndexOf(row.field)] = result;
        captions_[IndexOf(row.field)] = caption;
    }
    lblDigitLoadData = results_[IndexOf(kPointerFields[0])];
    lblDigitUnloadData = results_[IndexOf(kPointerFields[1])];
}

void frmMain::createConverter(QWidget* area) {
    fraConvert = new QGroupBox(QStringLiteral("Converter"), area);
    fraConvert->setObjectName(QStringLiteral("fraConvert"));
    fraConvert->setGeometry(twipsRect(4680, 3840, 1935, 1695));
    look::setColours(fraConvert, {look::kBlack, look::kLightYellow}, true);

    look::createLabel(fraConvert, {.name = "lblData",
                                   .text = QStringLiteral("DISABLED"),
                                   .geometry = twipsRect(240, 240, 1455, 375),
                                   .alignment = Qt::AlignCenter,
                                   .colours = {look::kRed, look::kWhite},
                                   .fill = true,
                                   .border = look::Border::Line,
                                   .line = look::kBlack});

    auto option = [this](const char* name, const char* caption, int top) {
        auto* choice = new QRadioButton(QString::fromLatin1(caption), fraConvert);
        choice->setObjectName(QString::fromLatin1(name));
        choice->setFont(look::windowFont(true));
        choice->setGeometry(twipsRect(240, top, 1455, 255));
        choice->setEnabled(false);
        choice->setFocusPolicy(Qt::NoFocus);
        look::setLightIndicator(choice);
    };
    option("optDec2Hex", "DEC to HEX", 600);
    option("optHex2Dec", "HEX to DEC", 960);
    option("optHex2Bin", "HEX to BIN", 1320);

    fraConvert->hide();
}

void frmMain::createMenus() {
    auto menu = [this](const char* name, const QString& caption) {
        QMenu* m = menuBar()->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto item = [this](QMenu* m, const char* name, const QString& caption,
                       const QKeySequence& shortcut = {}) {
        QAction* action = m->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(shortcut);
        return action;
    };
    auto separator = [](QMenu* m, const char* name) {
        m->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* mnuFile = menu("mnuFile", QStringLiteral("&File"));
    mnuFileExit = item(mnuFile, "mnuFileExit", QStringLiteral("E&xit"));

    QMenu* mnuEdit = menu("mnuEdit", QStringLiteral("&Edit"));
    mnuEditUndo = item(mnuEdit, "mnuEditUndo", QStringLiteral("&Undo"));
    separator(mnuEdit, "mnuEditBar0");
    mnuEditCut =
        item(mnuEdit, "mnuEditCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy =
        item(mnuEdit, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste =
        item(mnuEdit, "mnuEditPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditPasteSpecial = item(mnuEdit, "mnuEditPasteSpecial", QStringLiteral("Paste &Special..."));

    QMenu* mnuView = menu("mnuView", QStringLiteral("&View"));
    mnuViewConverter = item(mnuView, "mnuViewConverter", QStringLiteral("&Converter"));
    mnuViewConverter->setCheckable(true);

    QMenu* mnuWeb = menu("mnuWeb", QStringLiteral("&Web"));
    mnuWebNortelHome = item(mnuWeb, "mnuWebNortelHome", QStringLiteral("&Nortel Home"));
    separator(mnuWeb, "mnuWebBar1");
    mnuWebDejaNews =
        item(mnuWeb, "mnuWebDejaNews", QStringLiteral("Nortel Newsgroup (via &Google Groups)"));

    QMenu* mnuHelp = menu("mnuHelp", QStringLiteral("&Help"));
    mnuHelpAbout = item(mnuHelp, "mnuHelpAbout", QStringLiteral("&About "));

    // The input box offers the Edit menu's own commands, so a paste there keeps SavedText right.
    txtDebugData->addActions(mnuEdit->actions());
    txtDebugData->setMenuShortcuts(
        {mnuEditCut->shortcut(), mnuEditCopy->shortcut(), mnuEditPaste->shortcut()});
}

void frmMain::wireEvents() {
    connect(cmdDebug, &QPushButton::clicked, this, &frmMain::cmdDebug_Click);
    connect(cmdCopyResult, &QPushButton::clicked, this, &frmMain::cmdCopyResult_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmMain::cmdReset_Click);
    connect(cmdTrim, &QPushButton::clicked, this, &frmMain::cmdTrim_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmMain::cmdRestore_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);

    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
    connect(mnuEditUndo, &QAction::triggered, this, &frmMain::mnuEditUndo_Click);
    connect(mnuEditCut, &QAction::triggered, this, &frmMain::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmMain::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
    connect(mnuEditPasteSpecial, &QAction::triggered, this, &frmMain::mnuEditPasteSpecial_Click);
    connect(mnuViewConverter, &QAction::triggered, this, &frmMain::mnuViewConverter_Click);
    connect(mnuWebNortelHome, &QAction::triggered, this, &frmMain::mnuWebNortelHome_Click);
    connect(mnuWebDejaNews, &QAction::triggered, this, &frmMain::mnuWebDejaNews_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);

    connect(txtDebugData, &InputBox::cutRequested, this, &frmMain::mnuEditCut_Click);
    connect(txtDebugData, &InputBox::copyRequested, this, &frmMain::mnuEditCopy_Click);
    connect(txtDebugData, &InputBox::pasteRequested, this, &frmMain::mnuEditPaste_Click);
    connect(txtDebugData, &InputBox::insertRequested, this, &frmMain::insertIntoInput);

    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { showFocusRing(now); });
}

void frmMain::Form_Load() {
    move(kLoadPlace);
    fitOuterSize();
    setWindowTitle(caption(services_.app));
}

// ---- Decode ----------------------------------------------------------------------------------

void frmMain::cmdDebug_Click() {
    clearResults();
    words_ = DataWords{};
    // The reader stops at word 30, so only the start of a long text is ever converted.
    DataWordReader reader(words_);
    const QTextDocument* document = txtDebugData->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin() && !reader.Feed("\n")) break;
        const QByteArray line = withLineFeeds(block.text()).toUtf8();
        if (!reader.Feed(view(line))) break;
    }
    reader.Finish();
    const DecodedFields fields = DecodeCallRegister(words_);
    // The marks and sources come from the reader's one reading of the text.
    links_->decoded(reader.Layout(), txtDebugData->rawText());
    showResults(CaptionsInLabelOrder(fields));
    links_->showSources(SourcesOf(reader.Layout()), fields.PointersDiffer);
    setPointerHighlight(fields.PointersDiffer);
}

void frmMain::clearResults() {
    for (QLabel* result : results_) result->clear();
    links_->clearSources();
    setPointerHighlight(false);
}

void frmMain::showResults(const ResultCaptions& captions) {
    for (const FieldRow& row : kFields)
        results_[IndexOf(row.field)]->setText(fromUtf8(captions[IndexOf(row.field)]));
}

void frmMain::setPointerHighlight(bool on) {
    look::setColours(lblDigitLoadData, on ? kHighlightColours : kResultColours, true);
    look::setColours(lblDigitUnloadData, on ? kHighlightColours : kResultColours, true);
}

ResultCaptions frmMain::currentCaptions() const {
    ResultCaptions captions;
    for (std::size_t i = 0; i < results_.size(); ++i)
        captions[i] = results_[i]->text().toStdString();
    return captions;
}

// ---- Clipboard report ------------------------------------------------------------------------

void frmMain::cmdCopyResult_Click() {
    if (!services_.clipboard.clear()) return tell(kClipboardNotOpened);
    const QString report = fromUtf8(BuildReport(currentCaptions()));
    if (!services_.clipboard.setText(report)) return tell(kClipboardNotWritten);
    const std::optional<QString> held = services_.clipboard.text();
    if (!held) return tell(kClipboardNotReadBack);
    tell(*held + kConfirmation);
}

// ---- Input text tools ------------------------------------------------------------------------

void frmMain::saveInputIfNoneSaved() {
    if (SavedText.isEmpty()) SavedText = txtDebugData->rawText();
}

void frmMain::setInputText(const QString& text) { txtDebugData->setPlainText(text); }

void frmMain::cmdReset_Click() {
    saveInputIfNoneSaved();
    txtDebugData->clear();
    clearResults();
    links_->clearMarks();
}

void frmMain::cmdTrim_Click() {
    saveInputIfNoneSaved();
    const QString text = txtDebugData->rawText();
    const QByteArray utf8 = text.toUtf8();
    const QString trimmed = fromUtf8(TrimFirstWord(view(utf8)));
    if (trimmed != text) setInputText(trimmed);
    links_->clearMarks();
}

void frmMain::cmdRestore_Click() {
    if (!SavedText.isEmpty()) setInputText(SavedText);
    links_->clearMarks();
}

void frmMain::mnuEditUndo_Click() { cmdRestore_Click(); }

void frmMain::mnuEditCut_Click() { tell(kCutMessage); }

void frmMain::mnuEditPasteSpecial_Click() { tell(kPasteSpecialMessage); }

void frmMain::mnuEditCopy_Click() {
    if (!services_.clipboard.setText(txtDebugData->selectedRawText())) tell(kClipboardNotWritten);
}

void frmMain::mnuEditPaste_Click() {
    const std::optional<QString> pasted = services_.clipboard.text();
    if (!pasted) return tell(kClipboardNotRead);
    if (!insertIntoInput(*pasted)) return;
    SavedText = txtDebugData->rawText();
}

bool frmMain::insertIntoInput(const QString& text) {
    QTextCursor cursor = txtDebugData->textCursor();
    const qsizetype kept =
        txtDebugData->document()->characterCount() - 1 - cursor.selectedText().size();
    const qsizetype room = std::max<qsizetype>(0, InputBox::kCharacterLimit - kept);
    if (text.size() <= room) {
        cursor.insertText(text);
        txtDebugData->setTextCursor(cursor);
        return true;
    }
    qsizetype taken = room;
    if (taken > 0 && text.at(taken - 1).isHighSurrogate()) --taken;
    const QString limit = QString::number(InputBox::kCharacterLimit);
    if (taken == 0) {
        tell(QStringLiteral("The input box holds at most %1 characters and has no room for the "
                            "text; nothing was pasted.")
                 .arg(limit));
        return false;
    }
    cursor.insertText(text.left(taken));
    txtDebugData->setTextCursor(cursor);
    tell(QStringLiteral("The text is %1 characters long, but the input box holds at most %2 "
                        "characters. Only the first %3 characters were pasted.")
             .arg(QString::number(text.size()), limit, QString::number(taken)));
    return true;
}

// ---- Converter panel -------------------------------------------------------------------------

void frmMain::mnuViewConverter_Click() {
    // The action has already inverted its check mark; the panel follows it.
    fraConvert->setVisible(mnuViewConverter->isChecked());
}

// ---- Web and Help ----------------------------------------------------------------------------

void frmMain::mnuWebNortelHome_Click() {
    if (services_.openBrowser) services_.openBrowser(kNortelHome);
}

void frmMain::mnuWebDejaNews_Click() {
    if (services_.openBrowser) services_.openBrowser(kNortelNewsgroup);
}

void frmMain::mnuHelpAbout_Click() {
    if (services_.showAbout) services_.showAbout(this);
}

// ---- Placement and leaving -------------------------------------------------------------------

void frmMain::mnuFileExit_Click() { close(); }

void frmMain::cmdExit_Click() { services_.windows.endProgram(); }

void frmMain::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        closeOtherWindows();
        if (!isMinimized()) writePlacement();
    }
    event->accept();
}

void frmMain::closeOtherWindows() {
    // Newest first. Every other window goes, wherever this one stands in the list.
    for (int i = services_.windows.count() - 1; i >= 0; --i) {
        if (i >= services_.windows.count()) continue;  // a closing window took others with it
        if (services_.windows.at(i) == this) continue;
        services_.windows.close(i);
    }
}

void frmMain::writePlacement() {
    namespace keys = platform::settings;
    // The client area as the window system reports it, with the frame it says it drew around.
    // Where the window system reports no sound frame at the moment (the window is being
    // maximised, say), the client area in its normal state with the last sound frame.
    if (const std::optional<QMargins> frame = normalFrame()) frame_ = *frame;
    QRect outer =
        (windowState() & kFillingStates ? normalGeometry() : geometry()).marginsAdded(frame_);
    // Wayland tells a client nothing of where its window stands, and a title bar drawn by the
    // program or the toolkit is part of the window rather than a frame: there the position
    // written is the one the load step gave the window, the only one the program knows, and
    // never the title bar's margins.
    if (platform::clientDrawsTitleBars()) outer.moveTopLeft(kLoadPlace);
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    // A failed write changes nothing: the window closes all the same.
    platform::SettingsStore& store = services_.settings;
    store.write(keys::kSection, keys::kMainLeft, twipsText(outer.x(), dpiX));
    store.write(keys::kSection, keys::kMainTop, twipsText(outer.y(), dpiY));
    store.write(keys::kSection, keys::kMainWidth, twipsText(outer.width(), dpiX));
    store.write(keys::kSection, keys::kMainHeight, twipsText(outer.height(), dpiY));
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitOuterSize();
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitOuterSize();  // the window system's frame is known once the window has been placed
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & kFillingStates)) return;
    // A window manager may maximise a window of fixed size all the same (an EWMH request from
    // a tool or a key). The window does not take that state: asked back to its normal state
    // once this change has gone through, it never claims a size it does not have.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!(windowState() & kFillingStates)) return;
            setWindowState(windowState() & ~kFillingStates);
            fitOuterSize();
        },
        Qt::QueuedConnection);
}

std::optional<QMargins> frmMain::normalFrame() const {
    // A maximised or full-screen window is framed differently, or not at all, and while a
    // window manager changes the state it may report a frame that is none of this window's.
    if (windowState() & kFillingStates) return std::nullopt;
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const int sides = std::max({frame.left(), frame.right(), frame.bottom()});
    const int least = std::min({frame.left(), frame.top(), frame.right(), frame.bottom()});
    if (least < 0 || sides > kMaxFrameSide || frame.top() > kMaxFrameTop) return std::nullopt;
    return frame;
}

void frmMain::fitOuterSize() {
    const std::optional<QMargins> frame = normalFrame();
    if (!frame) return;  // the size taken with the last sound frame stays
    frame_ = *frame;
    const QSize inner = kMainOuterSize.shrunkBy(frame_);
    if (inner.isValid() && (inner != size() || minimumSize() != maximumSize())) setFixedSize(inner);
}

void frmMain::tell(const QString& text) { services_.messages.show(this, text); }

// ---- Marks and focus ring --------------------------------------------------------------------

const SourceMarks& frmMain::sourceMarks() const {
    static const SourceMarks none;
    return links_ ? links_->marks() : none;
}

void frmMain::showFocusRing(QWidget* now) {
    if (!now || now->parentWidget() != centralWidget() || now->window() != this) {
        areaMarks_->setFocusRing({}, {});
        return;
    }
    const QPalette::ColorRole face = now == txtDebugData ? QPalette::Base : QPalette::Button;
    areaMarks_->setFocusRing(now->geometry(), AreaMarks::ringColour(now->palette().color(face)));
}

}  // namespace quillmark::ui
