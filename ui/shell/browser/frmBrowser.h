// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/BrowserEngine.h"

class QComboBox;
class QLabel;
class QTimer;
class QToolBar;

namespace quillmark::ui {

// A small web browser window: toolbar, address box whose list is the window's history, the page,
// and a caption that reads "Working..." while a page loads and the page title afterwards. Every
// window has its own engine and history; it deletes itself when closed.
class frmBrowser final : public QWidget {
    Q_OBJECT

public:
    // engine must not be null; the window owns it from here on.
    explicit frmBrowser(std::unique_ptr<platform::BrowserEngine> engine, QWidget* parent = nullptr);
    // Starting a page engine takes seconds: this window shows at once, with "Working...", and
    // makes its engine once it has been drawn. Where makeEngine gives none, it closes.
    using EngineMaker = std::function<std::unique_ptr<platform::BrowserEngine>()>;
    explicit frmBrowser(EngineMaker makeEngine, QWidget* parent = nullptr);
    ~frmBrowser() override;

    // The address the window opens when it is first shown.
    QString StartingAddress() const { return startingAddress_; }
    void setStartingAddress(const QString& address) { startingAddress_ = address; }

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attachEngine();
    void makeEngine();
    void createControls();
    void createToolBar();
    void wireEvents();

    void Form_Load();
    void Form_Resize();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2();
    void cboAddress_Click();
    void cboAddress_KeyPress(int keyAscii);
    void timTimer_Timer();
    void tbToolBar_ButtonClick(const QString& key);

    std::unique_ptr<platform::BrowserEngine> engine_;
    EngineMaker makeEngine_;
    QTimer* engineTimer_ = nullptr;
    QString startingAddress_;
    bool mbUpdatingHistory = false;
    bool loaded_ = false;

    QToolBar* tbToolBar = nullptr;
    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    QWidget* brwWebBrowser = nullptr;
    QTimer* timTimer = nullptr;
};

}  // namespace quillmark::ui
