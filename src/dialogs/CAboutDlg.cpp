#include "dialogs/CAboutDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "common/Version.h"
#include "guicommon/Artwork.h"

namespace morvane::dialogs {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Morvane"));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(art::AppIcon().pixmap(32, 32));
    auto* title = new QLabel(
        QStringLiteral("Morvane V%1").arg(QLatin1String(kVersion.data(), static_cast<qsizetype>(kVersion.size()))),
        this);
    title->setObjectName(QStringLiteral("control1013"));
    // A sans-serif face by name: with no name at all, font matching may fall back to a serif.
    // "Sans Serif" is the generic sans family of fontconfig and maps to MS Sans Serif on Windows.
    m_fontTitle.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Sans Serif")});
    m_fontTitle.setStyleHint(QFont::SansSerif);
    m_fontTitle.setPixelSize(32);
    m_fontTitle.setWeight(QFont::Bold);
    m_fontTitle.setItalic(false);
    m_fontTitle.setUnderline(false);
    m_fontTitle.setStrikeOut(false);
    title->setFont(m_fontTitle);
    auto* name = new QLabel(QStringLiteral("Morvane"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(name, 1, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setColumnStretch(1, 1);
}

}  // namespace morvane::dialogs
