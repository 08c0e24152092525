#include "dialogs/CSplashWnd.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "guicommon/Artwork.h"

namespace morvane::app {

CSplashWnd::CSplashWnd(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Morvane "));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* picture = new QLabel(this);
    picture->setPixmap(art::SplashPicture());
    layout->addWidget(picture);
    // The OK button exists for the dialog's default handling only; it is never shown.
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->hide();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(sizeHint());
    if (QScreen* screen = parent ? parent->screen() : QWidget::screen())
        move(screen->availableGeometry().center() - rect().center());
    m_nTimer = startTimer(4000);
}

CSplashWnd::~CSplashWnd() {
    if (m_nTimer != 0) killTimer(m_nTimer);
}

void CSplashWnd::ShowSplash() {
    show();
    raise();
    repaint();
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimer)
        done(QDialog::Accepted);  // hides the window; the timer keeps running
    else
        QDialog::timerEvent(event);
}

}  // namespace morvane::app
