#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/CEditorApp.h"
#include "guicommon/Artwork.h"

namespace {

// Without a display Qt would stop with a terse platform-plugin error: say what to do instead.
bool HasDisplay() {
#if defined(__linux__) || defined(__FreeBSD__)
    return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr ||
           std::getenv("QT_QPA_PLATFORM") != nullptr;
#else
    return true;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (!HasDisplay()) {
        std::fputs(
            "morvane: there is no display to open the window on.\n"
            "  Run it on a desktop, or without a screen with QT_QPA_PLATFORM=offscreen morvane FILE,\n"
            "  or look at and change a rules file with morvane-cli (morvane-cli --help).\n",
            stderr);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setWindowIcon(morvane::art::AppIcon());
    morvane::app::CEditorApp editor;
    editor.InitApplication();
    return editor.InitInstance(QApplication::arguments());
}
