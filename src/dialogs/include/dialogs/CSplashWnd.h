#pragma once

#include <QDialog>

namespace morvane::app {

// The splash window: the program's picture in a small captioned window. It hides itself at
// every tick of its 4-second timer, so once shown it stays up at most that long.
class CSplashWnd : public QDialog {
    Q_OBJECT
public:
    explicit CSplashWnd(QWidget* parent = nullptr);
    ~CSplashWnd() override;

    // Shows the window and paints it at once.
    void ShowSplash();
    int TimerId() const { return m_nTimer; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    int m_nTimer = 0;
};

}  // namespace morvane::app
