#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

namespace morvane::guicommon {

// The standard icon `which` of `widget`'s style, as QStyle::standardIcon gives it. Where that
// icon is known to be the Fusion style's built-in pictures (no icon theme in use, left to right),
// each size is read only when it is first drawn: the style itself decodes every size of every
// icon it is asked for, the largest ones 128 pixels wide, though a tool bar shows one size.
QIcon StandardIcon(const QWidget& widget, QStyle::StandardPixmap which);

}  // namespace morvane::guicommon
