#include "guicommon/StandardIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QList>
#include <QWidget>
#include <utility>

#include "guicommon/Artwork.h"

namespace morvane::guicommon {
namespace {

// The Fusion style's own files for the icons the window uses, by name and sizes: the style
// reads them from Qt's compiled-in resource when no icon theme serves the icon.
struct BuiltIn {
    QStyle::StandardPixmap which;
    const char* name;
    std::initializer_list<int> sizes;
};
const BuiltIn kBuiltIn[] = {
    {QStyle::SP_DialogApplyButton, "standardbutton-apply", {16, 32, 128}},
    {QStyle::SP_DialogResetButton, "standardbutton-clear", {16, 32, 128}},
    {QStyle::SP_DialogOpenButton, "standardbutton-open", {16, 32, 128}},
    {QStyle::SP_FileDialogContentsView, "filecontents", {16, 32, 128}},
    {QStyle::SP_FileDialogListView, "viewlist", {16, 32, 128}},
    {QStyle::SP_ArrowBack, "left", {16, 32, 128}},
    {QStyle::SP_ArrowForward, "right", {16, 32, 128}},
    {QStyle::SP_BrowserReload, "refresh", {24, 32}},
};

}  // namespace

QIcon StandardIcon(const QWidget& widget, QStyle::StandardPixmap which) {
    QStyle* style = widget.style();
    // A theme, another style or a right-to-left layout may give other pictures: ask the style.
    const bool plain = style->name().compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0 &&
                       QIcon::themeName().isEmpty() && widget.layoutDirection() == Qt::LeftToRight &&
                       !QGuiApplication::isRightToLeft();
    if (plain) {
        for (const BuiltIn& icon : kBuiltIn) {
            if (icon.which != which) continue;
            QList<std::pair<QSize, QString>> files;
            for (const int size : icon.sizes) {
                const QString path = QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                                         .arg(QLatin1String(icon.name))
                                         .arg(size);
                if (!QFile::exists(path)) break;
                files.append({QSize(size, size), path});
            }
            if (files.size() == static_cast<qsizetype>(icon.sizes.size())) return art::IconFromFiles(files);
            break;
        }
    }
    return style->standardIcon(which, nullptr, &widget);
}

}  // namespace morvane::guicommon
