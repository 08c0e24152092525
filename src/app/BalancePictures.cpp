#include "app/BalancePictures.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::ToQt;
using morvane::guicommon::UserPrompts;

namespace morvane::app {
namespace {

QColor ColourOf(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb | 0xFF000000u)); }

}  // namespace

void PaintPicture(QPainter& painter, const gameview::Picture& picture) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const gameview::PictureRect& rect : picture.rects) {
        painter.setPen(rect.stroke == rect.fill ? QPen(Qt::NoPen) : QPen(ColourOf(rect.stroke)));
        painter.setBrush(ColourOf(rect.fill));
        painter.drawRect(QRectF(rect.x, rect.y, rect.width, rect.height));
    }
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const gameview::PictureText& text : picture.texts) {
        QFont font(QStringLiteral("Sans Serif"));
        font.setPixelSize(std::max(1, static_cast<int>(text.size)));
        font.setBold(text.bold);
        painter.setFont(font);
        painter.setPen(ColourOf(text.colour));
        const QString words = ToQt(text.text);
        const double width = QFontMetricsF(font).horizontalAdvance(words);
        double x = text.x;
        if (text.anchor == gameview::PictureText::Anchor::Middle) x -= width / 2;
        if (text.anchor == gameview::PictureText::Anchor::End) x -= width;
        painter.drawText(QPointF(x, text.y), words);
    }
}

bool SavePicturePng(const gameview::Picture& picture, const QString& path) {
    QImage image(static_cast<int>(picture.width * 2), static_cast<int>(picture.height * 2), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(2, 2);
    PaintPicture(painter, picture);
    painter.end();
    return image.save(path, "PNG");
}

bool SavePictureSvg(const gameview::Picture& picture, const QString& path) {
    return platform::ReplaceFileAtomically(PathFromQt(path), gameview::PictureSvg(picture)) == 0;
}

PictureView::PictureView(QWidget* parent) : QWidget(parent) { setMinimumSize(320, 200); }

void PictureView::SetPicture(gameview::Picture picture) {
    m_picture = std::move(picture);
    updateGeometry();
    update();
}

QSize PictureView::sizeHint() const { return {static_cast<int>(m_picture.width), static_cast<int>(m_picture.height)}; }

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_picture.width <= 0 || m_picture.height <= 0) return;
    const double scale = std::min(width() / m_picture.width, height() / m_picture.height);
    painter.translate((width() - m_picture.width * scale) / 2, (height() - m_picture.height * scale) / 2);
    painter.scale(scale, scale);
    PaintPicture(painter, m_picture);
}

BalancePictureDlg::BalancePictureDlg(const QString& title, gameview::Picture picture, UserPrompts& prompts,
                                     QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_view(new PictureView(this)) {
    setWindowTitle(title);
    m_view->SetPicture(std::move(picture));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* png = buttons->addButton(QStringLiteral("Save &PNG..."), QDialogButtonBox::ActionRole);
    QPushButton* svg = buttons->addButton(QStringLiteral("Save &SVG..."), QDialogButtonBox::ActionRole);
    png->setObjectName(QStringLiteral("savePng"));
    svg->setObjectName(QStringLiteral("saveSvg"));
    connect(png, &QPushButton::clicked, this, [this] { Save(false); });
    connect(svg, &QPushButton::clicked, this, [this] { Save(true); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void BalancePictureDlg::SetChoices(const QString& label, const QStringList& choices, int current,
                                   std::function<gameview::Picture(int)> remake) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, this));
    m_choice = new QComboBox(this);
    m_choice->addItems(choices);
    m_choice->setCurrentIndex(current);
    row->addWidget(m_choice);
    row->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->insertLayout(0, row);
    connect(m_choice, &QComboBox::currentIndexChanged, this,
            [this, remake = std::move(remake)](int index) { m_view->SetPicture(remake(index)); });
}

void BalancePictureDlg::Save(bool svg) {
    const QString filter = svg ? QStringLiteral("SVG pictures (*.svg)") : QStringLiteral("PNG pictures (*.png)");
    QString path = m_prompts.ChooseSaveFile(this, windowTitle(), QString(), filter);
    if (path.isEmpty()) return;
    const QString suffix = svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    const bool saved = svg ? SavePictureSvg(m_view->Picture(), path) : SavePicturePng(m_view->Picture(), path);
    if (!saved)
        m_prompts.ShowMessage(this,
                              QStringLiteral("Could not save %1\n\nThe picture could not be written there: the "
                                             "folder may be missing or not writable, or the disk full. Choose "
                                             "another folder and save again.")
                                  .arg(path),
                              windowTitle());
}

}  // namespace morvane::app
