#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

#include "guicommon/Artwork.h"

// The painting behind every picture file in resources/pictures. The program itself only loads
// the files; this code runs when the artwork generator makes them anew.
namespace morvane::artwork {

// Device pixels per unit for the pictures painted next: 1 or 2. The sizes below are in units.
void SetScale(qreal scale);
qreal CurrentScale();

// Tree image `index` (0..kTreeImageCount-1), 16x15 units, transparent background.
QImage PaintTreeImage(int index);

// Folder picker image `index` (0..kFolderPickerImageCount-1), 16x15 units.
QImage PaintFolderPickerImage(int index);

// The ids that have a painting, in the order of the painting table.
std::vector<std::uint16_t> PaintedObjectIds();

// The 64x64 picture of a game object, or a null image for an id without a painting.
QImage PaintObjectPicture(std::uint16_t objectId);

// The application icon, `size` pixels square (always painted at scale 1).
QImage PaintApplicationIcon(int size);

// The 16x16 picture of a kind of value, for the tree's key rows.
QImage PaintKindIcon(art::KindIcon kind);

// The 289x140 splash picture.
QImage PaintSplashPicture();

}  // namespace morvane::artwork
