// SPDX-License-Identifier: MIT
#pragma once
#include <QDialog>

#include "platform/AppInfo.h"

class QLabel;
class QPushButton;

namespace quillmark::platform {
class WindowList;
}

namespace quillmark::ui {

// The about box: program title, version, description and the usage warning. Every opening
// builds a new one, so its load step runs each time; "Close", Enter, Esc and the title bar
// all close it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "About Quillmark";
    static constexpr const char* kDescription = "NORTEL (tm) BUG Message DeCoder";
    static constexpr const char* kDisclaimer =
        "Warning: This product is intended for use by AUTHORISED and  CERTIFIED PERSONS only. "
        "No warranty is granted or implied. This product should be USED AT YOUR OWN RISK!!";

    explicit frmAbout(const platform::AppInfo& app, QWidget* owner = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void Form_Load(const platform::AppInfo& app);
    void cmdOK_Click();

    QLabel* Picture1 = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
};

// Help > About: opens a new about box modal over owner, adds it to the window list and
// returns when it has been closed and destroyed.
void showAbout(const platform::AppInfo& app, platform::WindowList& windows, QWidget* owner);

}  // namespace quillmark::ui
