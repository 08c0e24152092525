#pragma once

#include <QDialog>

class QLabel;

namespace morvane::dialogs {

// The splash window: the program's picture in a small captioned window, above the other
// windows. Each showing starts a 4-second period; the timer's tick hides it again.
class CSplashWnd : public QDialog {
    Q_OBJECT
public:
    explicit CSplashWnd(QWidget* parent = nullptr);
    ~CSplashWnd() override;

    // Shows the window and paints it at once.
    void ShowSplash();
    int TimerId() const { return m_nTimer; }

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    int m_nTimer = 0;
    QLabel* m_picture = nullptr;
};

}  // namespace morvane::dialogs
