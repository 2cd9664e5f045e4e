// SPDX-License-Identifier: MIT
#pragma once
#include <QMainWindow>
#include <QMargins>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "decoder/decoder.h"
#include "ui/main/MainWindowServices.h"
#include "ui/main/PlainToolTips.h"
#include "ui/main/SourceMarks.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;

namespace quillmark::ui {

class AreaMarks;
class InputBox;
class ResultLinks;

// The decoder window: the input box, the fifteen result labels, the command buttons, the menu
// bar and the converter panel. Handlers move text between the controls and the decoder's plain
// functions; the platform seams arrive in MainWindowServices; ResultLinks runs the links between
// the results and the characters they came from. Every control carries its name as objectName.
class frmMain final : public QMainWindow {
    Q_OBJECT
public:
    // When the controls, menus and their wiring are built: as the window loads, or later by
    // completeControls(), so that the start-up can show the splash first.
    enum class Controls { AtLoad, Later };

    // The load step: fixed placement and size, caption, and entry in the window list. The window
    // is created hidden and deletes itself when closed.
    explicit frmMain(MainWindowServices services, QWidget* parent = nullptr,
                     Controls controls = Controls::AtLoad);

    // Stops following the application's focus before the controls go.
    ~frmMain() override;

    // Builds the controls if they are not built yet; call before the window is first shown.
    void completeControls();

    QString savedText() const { return SavedText; }
    // Where the fields of the last decode stand in the input box, while it still holds that text.
    const SourceMarks& sourceMarks() const;

    static QString caption(const platform::AppInfo& app);

    // Decode
    void cmdDebug_Click();
    // Clipboard report
    void cmdCopyResult_Click();
    // Input text tools
    void cmdReset_Click();
    void cmdTrim_Click();
    void cmdRestore_Click();
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditPasteSpecial_Click();
    // Converter panel
    void mnuViewConverter_Click();
    // Web and Help
    void mnuWebNortelHome_Click();
    void mnuWebDejaNews_Click();
    void mnuHelpAbout_Click();
    // Leaving
    void mnuFileExit_Click();
    void cmdExit_Click();

protected:
    // Close processing: other windows closed newest first, then the placement written unless
    // the window is minimised. Never refuses the close.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Refuses a maximised or full-screen state a window manager gives the window.
    void changeEvent(QEvent* event) override;

private:
    void createControls();
    void createResultRows(QWidget* area);
    void createConverter(QWidget* area);
    void createMenus();
    void wireEvents();
    void Form_Load();

    void clearResults();
    void showResults(const ResultCaptions& captions);
    void setPointerHighlight(bool on);
    ResultCaptions currentCaptions() const;
    void setInputText(const QString& text);
    void saveInputIfNoneSaved();
    // Puts text in place of the selection, as much as the box takes; says so when it cut short.
    // False when nothing could be inserted.
    bool insertIntoInput(const QString& text);
    void closeOtherWindows();
    void writePlacement();
    // The window system's frame around the window in its normal state, when what it reports
    // now is one; nothing while the window is maximised or the frame is not plausible.
    std::optional<QMargins> normalFrame() const;
    void fitOuterSize();
    void tell(const QString& text);

    void showFocusRing(QWidget* now);

    MainWindowServices services_;
    QMargins frame_;   // the last sound frame the window system reported
    DataWords words_;  // HexWords and BinWords of the last decode
    QString SavedText;
    bool closing_ = false;
    PlainToolTips plainToolTips_;  // the result labels' tooltips, shown as the text they hold
    bool controlsComplete_ = false;
    // Built with the controls; goes before them, so that no signal of a control being destroyed
    // reaches it.
    std::unique_ptr<ResultLinks> links_;
    AreaMarks* areaMarks_ = nullptr;
    std::array<QLabel*, kFieldCount> captions_{};  // indexed by Field

    InputBox* txtDebugData = nullptr;
    QPushButton* cmdTrim = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdDebug = nullptr;
    QPushButton* cmdCopyResult = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdExit = nullptr;
    std::array<QLabel*, kFieldCount> results_{};  // indexed by Field
    QLabel* lblDigitLoadData = nullptr;
    QLabel* lblDigitUnloadData = nullptr;

    QGroupBox* fraConvert = nullptr;

    QAction* mnuFileExit = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditPasteSpecial = nullptr;
    QAction* mnuViewConverter = nullptr;
    QAction* mnuWebNortelHome = nullptr;
    QAction* mnuWebDejaNews = nullptr;
    QAction* mnuHelpAbout = nullptr;
};

}  // namespace quillmark::ui
