// Paints every picture of the program and writes the files the program loads:
//   morvane_make_artwork resources/pictures
// Writes tree/N.png, folder/N.png, object/ID.png, kind/NAME.png and splash.png, each also as @2x at twice the
// pixels; the application icon as app/SIZE.png; and pictures.qrc listing all of them. It fails
// when the object ids with a painting differ from the ids the schema gives a picture, so the
// two lists cannot drift apart.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "ArtworkPainter.h"
#include "schema/ObjectPictures.h"

namespace {

using morvane::artwork::SetScale;
namespace art = morvane::art;

class Writer {
public:
    explicit Writer(QString root) : m_root(std::move(root)) {}

    // Writes `name`.png at scale 1 and `name`@2x.png at scale 2.
    void Both(const QString& name, const std::function<QImage()>& paint) {
        SetScale(1);
        One(name + QStringLiteral(".png"), paint());
        SetScale(2);
        One(name + QStringLiteral("@2x.png"), paint());
        SetScale(1);
    }

    void One(const QString& file, QImage image) {
        if (!m_ok) return;
        // The logical size lives in the file name; a stored ratio would confuse Qt's @2x lookup.
        image.setDevicePixelRatio(1);
        const QString path = m_root + QLatin1Char('/') + file;
        if (!QDir().mkpath(QFileInfo(path).path()) || image.isNull() || !image.save(path, "PNG")) {
            std::fprintf(stderr, "morvane_make_artwork: cannot write %s\n", qPrintable(path));
            m_ok = false;
        }
        m_files.append(file);
    }

    bool WriteQrc() {
        if (!m_ok) return false;
        QFile qrc(m_root + QStringLiteral("/pictures.qrc"));
        if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        QString text = QStringLiteral(
            "<!-- Written by morvane_make_artwork; do not edit. -->\n<RCC>\n"
            "  <qresource prefix=\"/pictures\">\n");
        for (const QString& file : m_files) text += QStringLiteral("    <file>%1</file>\n").arg(file);
        text += QStringLiteral("  </qresource>\n</RCC>\n");
        return qrc.write(text.toUtf8()) >= 0;
    }

private:
    QString m_root;
    QStringList m_files;
    bool m_ok = true;
};

bool SameIds() {
    std::vector<std::uint16_t> painted = morvane::artwork::PaintedObjectIds();
    std::sort(painted.begin(), painted.end());
    const auto listed = morvane::ObjectPictureIds();
    if (std::equal(painted.begin(), painted.end(), listed.begin(), listed.end())) return true;
    for (const std::uint16_t id : listed)
        if (!std::binary_search(painted.begin(), painted.end(), id))
            std::fprintf(stderr, "morvane_make_artwork: object %u has a picture but no painting\n", id);
    for (const std::uint16_t id : painted)
        if (!morvane::HasObjectPicture(id))
            std::fprintf(stderr, "morvane_make_artwork: object %u is painted but has no picture\n", id);
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!SameIds()) return 1;

    Writer writer(QString::fromLocal8Bit(argv[1]));
    for (int i = 0; i < morvane::art::kTreeImageCount; ++i)
        writer.Both(QStringLiteral("tree/%1").arg(i), [i] { return morvane::artwork::PaintTreeImage(i); });
    for (int i = 0; i < morvane::art::kFolderPickerImageCount; ++i)
        writer.Both(QStringLiteral("folder/%1").arg(i), [i] { return morvane::artwork::PaintFolderPickerImage(i); });
    for (const std::uint16_t id : morvane::ObjectPictureIds())
        writer.Both(QStringLiteral("object/%1").arg(id), [id] { return morvane::artwork::PaintObjectPicture(id); });
    for (const art::KindIcon kind : art::kKindIcons)
        writer.Both(QStringLiteral("kind/") + QLatin1String(art::KindIconName(kind)),
                    [kind] { return morvane::artwork::PaintKindIcon(kind); });
    writer.Both(QStringLiteral("splash"), [] { return morvane::artwork::PaintSplashPicture(); });
    for (const int size : morvane::art::kAppIconSizes)
        writer.One(QStringLiteral("app/%1.png").arg(size), morvane::artwork::PaintApplicationIcon(size));
    if (!writer.WriteQrc()) {
        std::fprintf(stderr, "morvane_make_artwork: cannot write pictures.qrc\n");
        return 1;
    }
    return EXIT_SUCCESS;
}
