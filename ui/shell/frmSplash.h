// SPDX-License-Identifier: MIT
#pragma once
#include <QElapsedTimer>
#include <QWidget>

#include "platform/AppInfo.h"

class QFrame;
class QLabel;
class QTimer;

namespace quillmark::ui {

// The splash window shown at start: program name, description, developer and version line.
// It hands over to the main window on the first click anywhere on it, or when Timer1 fires
// 5000 ms after the window was loaded, by unloading itself: it closes and is destroyed with
// its timer. Whoever shows the main window waits for its destroyed() signal, so the two
// windows are never visible together and the hand-over happens once.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimer1IntervalMs = 5000;

    // Loading the window starts Timer1.
    explicit frmSplash(const platform::AppInfo& app, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void Form_Load(const platform::AppInfo& app);
    void Timer1_Timer();
    // Every control's click handler: the frame, the logo and the five labels.
    void Control_Click();
    void handOver();

    QWidget* client_ = nullptr;
    QFrame* fraMainFrame = nullptr;
    QLabel* picLogo = nullptr;
    QLabel* lblAppName = nullptr;
    QLabel* lblAppDesc = nullptr;
    QLabel* lblEval = nullptr;
    QLabel* lblDevName = nullptr;
    QLabel* lblCopyright = nullptr;
    QTimer* Timer1 = nullptr;
    QElapsedTimer loaded_;
};

}  // namespace quillmark::ui
