// Puts every picture the program loads onto one contact sheet, to look them over side by side:
//   morvane_artwork_sheet OUTPUT.png
// Needs no screen: it runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "guicommon/Artwork.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kColumns = 10;
constexpr int kCell = 84;  // width and height of one cell
constexpr int kMargin = 16;
constexpr int kHeading = 26;  // height of a section heading
constexpr int kSheetWidth = 2 * kMargin + kColumns * kCell;

int Rows(int count) { return (count + kColumns - 1) / kColumns; }

class Sheet {
public:
    explicit Sheet(int height) : image_(kSheetWidth, height, QImage::Format_ARGB32_Premultiplied) {
        image_.fill(QColor(0xeeeee6u));
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::TextAntialiasing);
    }

    void Heading(const QString& text) {
        QFont font = painter_.font();
        font.setPixelSize(15);
        font.setBold(true);
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        painter_.drawText(QRect(kMargin, y_, kSheetWidth - 2 * kMargin, kHeading), Qt::AlignLeft | Qt::AlignVCenter,
                          text);
        y_ += kHeading;
    }

    // A small image enlarged four times without smoothing, its actual size beside it, and a caption.
    void Enlarged(int slot, const QPixmap& pixmap, const QString& caption) {
        const QPoint cell = Cell(slot);
        painter_.fillRect(QRect(cell + QPoint(6, 4), QSize(66, 62)), Qt::white);
        painter_.drawPixmap(QRect(cell + QPoint(7, 5), pixmap.size() * 4), pixmap);
        painter_.fillRect(QRect(cell + QPoint(56, 68), QSize(18, 17)), Qt::white);
        painter_.drawPixmap(cell + QPoint(57, 69), pixmap);
        Caption(cell, caption);
    }

    void Picture(int slot, const QPixmap& pixmap, const QString& caption) {
        const QPoint cell = Cell(slot);
        painter_.drawPixmap(cell + QPoint(8, 4), pixmap);
        Caption(cell, caption);
    }

    void EndGrid(int count) { y_ += Rows(count) * kCell + 8; }

    void Free(int x, const QPixmap& pixmap) { painter_.drawPixmap(kMargin + x, y_, pixmap); }
    void Skip(int height) { y_ += height; }

    bool Save(const char* path) {
        painter_.end();
        return image_.save(QString::fromLocal8Bit(path));
    }

private:
    QPoint Cell(int slot) const { return {kMargin + (slot % kColumns) * kCell, y_ + (slot / kColumns) * kCell}; }

    void Caption(QPoint cell, const QString& text) {
        QFont font = painter_.font();
        font.setPixelSize(11);
        font.setBold(false);
        painter_.setFont(font);
        painter_.setPen(Qt::black);
        painter_.drawText(QRect(cell + QPoint(4, 68), QSize(50, 14)), Qt::AlignLeft | Qt::AlignVCenter, text);
    }

    QImage image_;
    QPainter painter_;
    int y_ = kMargin;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // every object id that has a picture
    QList<std::pair<int, QPixmap>> objects;
    for (int id = 0; id <= 0xFFFF; ++id) {
        QPixmap picture = morvane::art::ObjectPicture(static_cast<std::uint16_t>(id));
        if (!picture.isNull()) objects.append({id, picture});
    }
    const int objectCount = static_cast<int>(objects.size());
    const int height = 2 * kMargin + 5 * kHeading +
                       (Rows(morvane::art::kTreeImageCount) + Rows(static_cast<int>(morvane::art::kKindIcons.size())) +
                        Rows(morvane::art::kFolderPickerImageCount) + Rows(objectCount)) *
                           kCell +
                       4 * 8 + 150;
    Sheet sheet(height);

    sheet.Heading(QStringLiteral("Tree images (4x, and actual size)"));
    for (int i = 0; i < morvane::art::kTreeImageCount; ++i)
        sheet.Enlarged(i, morvane::art::TreeImage(i), QString::number(i));
    sheet.EndGrid(morvane::art::kTreeImageCount);

    sheet.Heading(QStringLiteral("Kinds of value (4x, and actual size)"));
    int slot = 0;
    for (const morvane::art::KindIcon kind : morvane::art::kKindIcons)
        sheet.Enlarged(slot++, morvane::art::KindImage(kind), QString::fromLatin1(morvane::art::KindIconName(kind)));
    sheet.EndGrid(slot);

    sheet.Heading(QStringLiteral("Folder picker images"));
    for (int i = 0; i < morvane::art::kFolderPickerImageCount; ++i)
        sheet.Enlarged(i, morvane::art::FolderPickerImage(i), QString::number(i));
    sheet.EndGrid(morvane::art::kFolderPickerImageCount);

    sheet.Heading(QStringLiteral("Application icon and splash"));
    const QIcon icon = morvane::art::AppIcon();
    int x = 0;
    for (int size : {128, 64, 48, 32, 16}) {
        sheet.Free(x, icon.pixmap(size, size));
        x += size + 12;
    }
    sheet.Free(x + 8, morvane::art::SplashPicture());
    sheet.Skip(150);

    sheet.Heading(QStringLiteral("Object pictures (%1)").arg(objectCount));
    for (int slot = 0; slot < objectCount; ++slot)
        sheet.Picture(slot, objects[slot].second, QString::number(objects[slot].first));
    sheet.EndGrid(objectCount);

    if (!sheet.Save(argv[1])) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return EXIT_SUCCESS;
}
