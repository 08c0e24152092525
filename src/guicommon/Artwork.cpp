#include "guicommon/Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmapCache>
#include <QString>

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

}  // namespace

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
    // Only named here: Qt decodes a size when something draws it, and most never are.
    EnsureResource();
    QIcon icon;
    for (const int size : kAppIconSizes)
        icon.addFile(QStringLiteral(":/pictures/app/%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap SplashPicture() { return Load(QStringLiteral("splash")); }

}  // namespace morvane::art
