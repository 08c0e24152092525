#include "guicommon/Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QString>
#include <map>
#include <optional>
#include <utility>

// The resource lives in this static library; naming its initialiser here keeps the linker from
// dropping it.
static void LoadPictureResource() { Q_INIT_RESOURCE(pictures); }

namespace morvane::art {
namespace {

void EnsureResource() { [[maybe_unused]] static const bool loaded = (LoadPictureResource(), true); }

// `name` under :/pictures, the @2x file on a high-density screen. Null when there is no file.
QPixmap Load(const QString& name) {
    EnsureResource();
    const bool dense = qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1;
    const QString key = QStringLiteral("morvane/%1/%2").arg(name).arg(dense ? 2 : 1);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    const QString path = QStringLiteral(":/pictures/") + name;
    if (dense && pixmap.load(path + QStringLiteral("@2x.png")))
        pixmap.setDevicePixelRatio(2);
    else if (!pixmap.load(path + QStringLiteral(".png")))
        return {};
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

// Hands every request to a plain QIcon of the one file that serves the size asked for, made
// when that size is first wanted. The plain icon does the scaling and the greyed and selected
// looks, so that nothing is drawn differently from an icon given all its files at once.
class FileSizesEngine : public QIconEngine {
public:
    // A missing file is left out, as QIcon::addFile leaves it out.
    explicit FileSizesEngine(QList<std::pair<QSize, QString>> files) : m_files(std::move(files)) {
        m_files.removeIf([](const std::pair<QSize, QString>& file) { return !QFile::exists(file.second); });
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QIcon* icon = IconFor(size);
        return icon != nullptr ? icon->pixmap(size, 1.0, mode, state) : QPixmap();
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const QSize size = rect.size() * painter->device()->devicePixelRatio();
        const QPixmap drawn = pixmap(size, mode, state);
        if (!drawn.isNull()) painter->drawPixmap(rect, drawn);
    }
    // The plain icon's answer (it keeps the size a file was named for, though a picture may not
    // fill it). The plain icon would scale `size` for a dense screen once more: there, the size
    // of what is drawn.
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (qGuiApp != nullptr && qGuiApp->devicePixelRatio() > 1) return pixmap(size, mode, state).size();
        QIcon* icon = IconFor(size);
        return icon != nullptr ? icon->actualSize(size, mode, state) : QSize();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (const auto& file : m_files) sizes << file.first;
        return sizes;
    }
    bool isNull() override { return m_files.isEmpty(); }
    QString key() const override { return QStringLiteral("MorvaneFileSizes"); }
    QIconEngine* clone() const override { return new FileSizesEngine(*this); }

private:
    // The file for `size`: the smallest at least as large (by area), else the largest.
    std::optional<qsizetype> FileFor(const QSize& size) const {
        const auto area = [](const QSize& s) { return static_cast<qint64>(s.width()) * s.height(); };
        std::optional<qsizetype> best;
        for (qsizetype at = 0; at < m_files.size(); ++at) {
            if (!best) {
                best = at;
                continue;
            }
            const qint64 here = area(m_files[at].first);
            const qint64 kept = area(m_files[*best].first);
            const bool hereFits = here >= area(size);
            const bool keptFits = kept >= area(size);
            if (hereFits != keptFits ? hereFits : (hereFits ? here < kept : here > kept)) best = at;
        }
        return best;
    }
    QIcon* IconFor(const QSize& size) {
        const auto index = FileFor(size);
        if (!index) return nullptr;
        auto loaded = m_loaded.find(*index);
        if (loaded == m_loaded.end()) {
            QIcon icon;
            icon.addFile(m_files[*index].second);
            loaded = m_loaded.emplace(*index, icon).first;
        }
        return &loaded->second;
    }

    QList<std::pair<QSize, QString>> m_files;
    std::map<qsizetype, QIcon> m_loaded;
};

}  // namespace

QIcon IconFromFiles(const QList<std::pair<QSize, QString>>& files) { return QIcon(new FileSizesEngine(files)); }

QPixmap TreeImage(int index) {
    if (index < 0 || index >= kTreeImageCount) return {};
    return Load(QStringLiteral("tree/%1").arg(index));
}

QPixmap ObjectPicture(std::uint16_t objectId) { return Load(QStringLiteral("object/%1").arg(objectId)); }

QPixmap KindImage(KindIcon kind) { return Load(QStringLiteral("kind/") + QLatin1String(KindIconName(kind))); }

QPixmap FolderPickerImage(int index) {
    if (index < 0 || index >= kFolderPickerImageCount) return {};
    return Load(QStringLiteral("folder/%1").arg(index));
}

QIcon AppIcon() {
    // Only named here: a size is decoded when something draws it, and most never are.
    EnsureResource();
    QList<std::pair<QSize, QString>> files;
    for (const int size : kAppIconSizes)
        files.append({QSize(size, size), QStringLiteral(":/pictures/app/%1.png").arg(size)});
    return IconFromFiles(files);
}

QPixmap SplashPicture() { return Load(QStringLiteral("splash")); }

}  // namespace morvane::art
