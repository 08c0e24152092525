#include "dialogs/CSplashWnd.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "guicommon/Artwork.h"

namespace morvane::dialogs {

// On top of every other window, the main window included, for as long as it is up.
CSplashWnd::CSplashWnd(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Morvane "));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The picture is decoded when the window is first shown: a window that keeps a splash for
    // later need not pay for it at start.
    m_picture = new QLabel(this);
    m_picture->setFixedSize(art::kSplashSize);
    layout->addWidget(m_picture);
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

void CSplashWnd::showEvent(QShowEvent* event) {
    if (m_picture->pixmap().isNull()) m_picture->setPixmap(art::SplashPicture());
    QDialog::showEvent(event);
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_nTimer)
        done(QDialog::Accepted);  // hides the window; the timer keeps running
    else
        QDialog::timerEvent(event);
}

}  // namespace morvane::dialogs
