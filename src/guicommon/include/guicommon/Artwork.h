#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <utility>

// Every picture the program shows: the navigation tree's images, the pictures of game objects
// beside the value editor, the folder picker's images, the application icon and the splash
// picture. They are PNG files compiled in from resources/pictures (tools/artwork makes them);
// a screen with more than one device pixel per unit gets the @2x files.
namespace morvane::art {

inline constexpr int kTreeImageCount = 49;
inline constexpr int kFolderPickerImageCount = 5;
inline constexpr std::array<int, 8> kAppIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};
inline constexpr QSize kSplashSize{289, 140};

// Picture `index` (0..48) of the navigation tree's image list, 16x15 pixels, transparent
// background; a null QPixmap for an index outside the list.
QPixmap TreeImage(int index);

// The picture of a game object (by its object-list id), shown beside the value editor; 64x64 px.
// Returns a null QPixmap for ids without a picture (HasObjectPicture in schema/ObjectPictures.h
// tells which ids have one: the caller decides).
QPixmap ObjectPicture(std::uint16_t objectId);

// The kinds of value a key of the tree can hold, each with a picture of its own.
enum class KindIcon { Number, YesNo, Percentage, List, Armour, Crate };
inline constexpr std::array<KindIcon, 6> kKindIcons = {KindIcon::Number, KindIcon::YesNo,  KindIcon::Percentage,
                                                       KindIcon::List,   KindIcon::Armour, KindIcon::Crate};
// The file name of a kind's picture (without folder and extension).
constexpr const char* KindIconName(KindIcon kind) {
    switch (kind) {
        case KindIcon::Number:
            return "number";
        case KindIcon::YesNo:
            return "yes-no";
        case KindIcon::Percentage:
            return "percentage";
        case KindIcon::List:
            return "list";
        case KindIcon::Armour:
            return "armour";
        case KindIcon::Crate:
            return "crate";
    }
    return "number";
}
// The picture of a kind of value, 16x16 pixels, transparent background.
QPixmap KindImage(KindIcon kind);

// The folder picker's five images, 16x15: 0 fixed/network drive, 1 removable drive, 2 CD-ROM,
// 3 folder, 4 open (selected) folder.
QPixmap FolderPickerImage(int index);

// The application icon, in every size of kAppIconSizes.
QIcon AppIcon();

// An icon drawn from one picture file per size, as QIcon::addFile builds it, except that a file
// is decoded only when a size it serves is first drawn: an icon that names eight sizes is mostly
// drawn in one or two. For a size without a file of its own, the smallest file at least as large
// is scaled down, or else the largest is drawn at its own size: the choice QIcon makes. A file that does not exist is
// left out, as QIcon::addFile leaves it out; one that exists but cannot be decoded draws nothing
// at the sizes it serves.
QIcon IconFromFiles(const QList<std::pair<QSize, QString>>& files);

// The splash picture, kSplashSize (289x140 pixels): the program's name "Morvane" large, a subtitle "Rules
// editor for Red Alert", a simple own illustration.
QPixmap SplashPicture();

}  // namespace morvane::art
