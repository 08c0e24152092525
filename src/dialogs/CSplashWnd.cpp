#include "dialogs/CSplashWnd.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "guicommon/Artwork.h"

namespace morvane::app {

// On top of every other window, the main window included, for as long as it is up.
CSplashWnd::CSplashWnd(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
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
    // A full period from now: the window was asked for now, whenever the timer last ticked.
    if (m_nTimer != 0) killTimer(m_nTimer);
    m_nTimer = startTimer(4000);
    show();
    raise();
    // Let the window system map and paint it before the caller goes on working.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimer)
        done(QDialog::Accepted);  // hides the window; the timer keeps running
    else
        QDialog::timerEvent(event);
}

}  // namespace morvane::app
