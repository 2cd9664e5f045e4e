// SPDX-License-Identifier: MIT
#include "ui/main/frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <string_view>

#include "platform/Clipboard.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsKeys.h"
#include "platform/SettingsStore.h"
#include "platform/WindowList.h"
#include "ui/main/Geometry.h"
#include "ui/main/InputBox.h"

namespace quillmark::ui {

namespace {

const QColor kTeal(0, 128, 128);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kLightYellow(255, 255, 192);
const QColor kRed(255, 0, 0);

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

// The nearest installed relatives of the 8.25 point MS Sans Serif the window was drawn for:
// 11 pixels is 8.25 points at 96 dpi, and the positions are in pixels too.
QFont windowFont(bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arimo"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    // Slightly narrower than the fallbacks' natural width: MS Sans Serif is a narrow face, and
    // the TN hint with four wide hex digits has to fit its label.
    font.setStretch(94);
    font.setBold(bold);
    return font;
}

// Text colour for the enabled states only, so that disabled controls still draw greyed.
void setColours(QWidget* widget, const QColor& text, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, text);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, text);
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setBackground(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
}

// A tooltip that shows the text literally: Qt would otherwise take "<b>x</b>" as markup.
QString plainToolTip(const QString& text) {
    if (text.isEmpty()) return QString();
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray toUtf8(const QString& text) { return text.toUtf8(); }

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// One row of the result table: caption label and result label side by side (twips).
struct ResultRow {
    const char* captionName;
    const char* caption;
    int captionLeft;
    int captionWidth;
    const char* resultName;
    int resultLeft;
    int top;
};

// In result label order, which is also the order of the decoder's captions.
constexpr std::array<ResultRow, kResultCount> kResultRows{{
    {"lblCallReg", "Call Register", 360, 1095, "lblCallRegisterData", 1680, 1680},
    {"lblMainPM", "Main PM", 360, 1095, "lblMainPMData", 1680, 2040},
    {"lblAuxPM", "AUX PM", 360, 1095, "lblAuxPMData", 1680, 2400},
    {"lblOrigType", "OrigType", 360, 1095, "lblOrigTypeData", 1680, 2760},
    {"lblTermType", "TermType", 360, 1095, "lblTermTypeData", 1680, 3120},
    {"lblOrigTN", "OrigTN", 360, 1095, "lblOrigTNData", 1680, 3480},
    {"lblTermTN", "TermTN", 360, 1095, "lblTermTNData", 1680, 3840},
    {"lblQueue", "Queue", 360, 1095, "lblQueueData", 1680, 4200},
    {"lblCRLink", "CR Fwd Link", 360, 1095, "lblCRLinkData", 1680, 4560},
    {"lblCRBakLink", "CR Back Link", 120, 1335, "lblCRBakLinkData", 1680, 4920},
    {"lblAuxCR", "Aux CR", 120, 1335, "lblAuxCRData", 1680, 5280},
    {"lblCRDialed", "CR Dialed", 4680, 1095, "lblCRDialedData", 6000, 1680},
    {"lblDigitLoad", "Digit Load", 4680, 1095, "lblDigitLoadData", 6000, 2040},
    {"lblDigitUnload", "Digit UnLoad", 4440, 1335, "lblDigitUnloadData", 6000, 2400},
    {"lblDigsDialed", "Digits Dialed", 4440, 1335, "lblDigsDialedData", 6000, 2760},
}};
constexpr int kResultWidth = 2535;
constexpr int kRowHeight = 255;
constexpr int kDigitLoadRow = 12;
constexpr int kDigitUnloadRow = 13;

}  // namespace

frmMain::frmMain(MainWindowServices services, QWidget* parent, Controls controls)
    : QMainWindow(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (controls == Controls::AtLoad) completeControls();
    Form_Load();
    services_.windows.add(this);
}

void frmMain::completeControls() {
    if (controlsComplete_) return;
    controlsComplete_ = true;
    createControls();
    createMenus();
    wireEvents();
}

QString frmMain::Caption(const platform::AppInfo& app) {
    return QStringLiteral("%1 V%2.%3 Rev:%4")
        .arg(app.title)
        .arg(app.major)
        .arg(app.minor)
        .arg(app.revision);
}

// ---- Building the window ---------------------------------------------------------------------

void frmMain::createControls() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(windowFont());

    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("clientArea"));
    setColours(area, palette().color(QPalette::WindowText), kTeal);
    setCentralWidget(area);

    txtDebugData = new InputBox(area);
    txtDebugData->setObjectName(QStringLiteral("txtDebugData"));
    txtDebugData->setGeometry(TwipsRect(120, 120, 8415, 1455));
    txtDebugData->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto button = [area](QPushButton*& control, const char* name, const char* caption,
                         QRect where) {
        control = new QPushButton(QString::fromLatin1(caption), area);
        control->setObjectName(QString::fromLatin1(name));
        control->setGeometry(where);
        control->setAutoDefault(false);
        control->setDefault(false);
    };
    button(cmdTrim, "cmdTrim", "Trim Text", TwipsRect(6000, 3120, 1215, 375));
    button(cmdRestore, "cmdRestore", "Restore Text", TwipsRect(7320, 3120, 1215, 375));
    button(cmdDebug, "cmdDebug", "DeBug", TwipsRect(7200, 3720, 1335, 375));
    button(cmdCopyResult, "cmdCopyResult", "Copy Results", TwipsRect(7200, 4200, 1335, 375));
    button(cmdReset, "cmdReset", "Reset", TwipsRect(7200, 4680, 1335, 375));
    button(cmdExit, "cmdExit", "Quit", TwipsRect(7200, 5160, 1335, 375));

    createResultRows(area);
    createConverter(area);

    setTabOrder(txtDebugData, cmdDebug);
    setTabOrder(cmdDebug, cmdExit);
    setTabOrder(cmdExit, cmdReset);
    setTabOrder(cmdReset, cmdTrim);
    setTabOrder(cmdTrim, cmdRestore);
    setTabOrder(cmdRestore, cmdCopyResult);
    txtDebugData->setFocus();
}

void frmMain::createResultRows(QWidget* area) {
    const QColor captionText = palette().color(QPalette::HighlightedText);
    const QColor resultText = palette().color(QPalette::ButtonText);
    for (std::size_t i = 0; i < kResultRows.size(); ++i) {
        const ResultRow& row = kResultRows[i];

        auto* caption = new QLabel(QString::fromLatin1(row.caption), area);
        caption->setObjectName(QString::fromLatin1(row.captionName));
        caption->setTextFormat(Qt::PlainText);
        caption->setFont(windowFont(true));
        caption->setAlignment(Qt::AlignRight | Qt::AlignTop);
        caption->setGeometry(TwipsRect(row.captionLeft, row.top, row.captionWidth, kRowHeight));
        setColours(caption, captionText, kTeal);

        auto* result = new QLabel(area);
        result->setObjectName(QString::fromLatin1(row.resultName));
        result->setTextFormat(Qt::PlainText);
        result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        result->setFrameStyle(QFrame::Box | QFrame::Plain);
        result->setLineWidth(1);
        result->setMargin(0);
        result->setGeometry(TwipsRect(row.resultLeft, row.top, kResultWidth, kRowHeight));
        setColours(result, resultText, kWhite);
        results_[i] = result;
    }
    lblDigitLoadData = results_[kDigitLoadRow];
    lblDigitUnloadData = results_[kDigitUnloadRow];
}

void frmMain::createConverter(QWidget* area) {
    fraConvert = new QGroupBox(QStringLiteral("Converter"), area);
    fraConvert->setObjectName(QStringLiteral("fraConvert"));
    fraConvert->setGeometry(TwipsRect(4680, 3840, 1935, 1695));
    setColours(fraConvert, Qt::black, kLightYellow);

    auto* lblData = new QLabel(QStringLiteral("DISABLED"), fraConvert);
    lblData->setObjectName(QStringLiteral("lblData"));
    lblData->setTextFormat(Qt::PlainText);
    lblData->setAlignment(Qt::AlignCenter);
    lblData->setFrameStyle(QFrame::Panel | QFrame::Sunken);  // a plain box would draw in red
    lblData->setGeometry(TwipsRect(240, 240, 1455, 375));
    setColours(lblData, kRed, kWhite);

    auto option = [this](const char* name, const char* caption, int top) {
        auto* choice = new QRadioButton(QString::fromLatin1(caption), fraConvert);
        choice->setObjectName(QString::fromLatin1(name));
        choice->setFont(windowFont(true));
        choice->setGeometry(TwipsRect(240, top, 1455, 255));
        choice->setEnabled(false);
        choice->setFocusPolicy(Qt::NoFocus);
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
    mnuEditCut = item(mnuEdit, "mnuEditCut", QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X));
    mnuEditCopy = item(mnuEdit, "mnuEditCopy", QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditPaste = item(mnuEdit, "mnuEditPaste", QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V));
    mnuEditPasteSpecial = item(mnuEdit, "mnuEditPasteSpecial", QStringLiteral("Paste &Special..."));

    QMenu* mnuView = menu("mnuView", QStringLiteral("&View"));
    mnuViewConverter = item(mnuView, "mnuViewConverter", QStringLiteral("&Converter"));
    mnuViewConverter->setCheckable(true);

    QMenu* mnuWeb = menu("mnuWeb", QStringLiteral("&Web"));
    mnuWebNortelHome = item(mnuWeb, "mnuWebNortelHome", QStringLiteral("&Nortel Home"));
    separator(mnuWeb, "mnuWebBar1");
    mnuWebDejaNews = item(mnuWeb, "mnuWebDejaNews", QStringLiteral("Nortel Newsgroup (via &Google Groups)"));

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
}

void frmMain::Form_Load() {
    move(0, 0);
    fitOuterSize();
    setWindowTitle(Caption(services_.app));
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
        if (!reader.Feed(view(toUtf8(WithLineFeeds(block.text()))))) break;
    }
    reader.Finish();
    const DecodedFields fields = DecodeCallRegister(words_);
    showResults(CaptionsInLabelOrder(fields));
    setPointerHighlight(fields.PointersDiffer);
}

void frmMain::clearResults() {
    for (QLabel* result : results_) {
        result->clear();
        result->setToolTip(QString());
    }
    setPointerHighlight(false);
}

void frmMain::showResults(const ResultCaptions& captions) {
    for (std::size_t i = 0; i < results_.size(); ++i) {
        const QString text = fromUtf8(captions[i]);
        results_[i]->setText(text);
        results_[i]->setToolTip(plainToolTip(text));
    }
}

void frmMain::setPointerHighlight(bool on) {
    setBackground(lblDigitLoadData, on ? kYellow : kWhite);
    setBackground(lblDigitUnloadData, on ? kYellow : kWhite);
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
}

void frmMain::cmdTrim_Click() {
    saveInputIfNoneSaved();
    const QString text = txtDebugData->rawText();
    const QString trimmed = fromUtf8(TrimFirstWord(view(toUtf8(text))));
    if (trimmed != text) setInputText(trimmed);
}

void frmMain::cmdRestore_Click() {
    if (!SavedText.isEmpty()) setInputText(SavedText);
}

void frmMain::mnuEditUndo_Click() { cmdRestore_Click(); }

void frmMain::mnuEditCut_Click() { tell(kCutMessage); }

void frmMain::mnuEditPasteSpecial_Click() { tell(kPasteSpecialMessage); }

void frmMain::mnuEditCopy_Click() {
    if (!services_.clipboard.setText(txtDebugData->selectedRawText()))
        tell(kClipboardNotWritten);
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
    const QRect outer = frameGeometry();
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    // A failed write changes nothing: the window closes all the same.
    platform::SettingsStore& store = services_.settings;
    store.write(keys::kSection, keys::kMainLeft, TwipsText(outer.x(), dpiX));
    store.write(keys::kSection, keys::kMainTop, TwipsText(outer.y(), dpiY));
    store.write(keys::kSection, keys::kMainWidth, TwipsText(outer.width(), dpiX));
    store.write(keys::kSection, keys::kMainHeight, TwipsText(outer.height(), dpiY));
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fitOuterSize();
}

void frmMain::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fitOuterSize();  // the window system's frame is known once the window has been placed
}

void frmMain::fitOuterSize() {
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize inner = kMainOuterSize - frame;
    if (inner.isValid() && (inner != size() || minimumSize() != maximumSize()))
        setFixedSize(inner);
}

void frmMain::tell(const QString& text) { services_.messages.show(this, text); }

}  // namespace quillmark::ui
