#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "app/CEditorApp.h"
#include "common/Version.h"
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

// Answers --help and --version without a window, so that both work without a display.
// Returns the exit code when the command line asked for one of them.
std::optional<int> AnswerInfoRequest(int argc, char** argv) {
    if (argc != 2) return std::nullopt;
    const std::string_view argument = argv[1];
    if (argument == "--version") {
        std::printf("morvane %.*s\n", static_cast<int>(morvane::kVersion.size()), morvane::kVersion.data());
        return 0;
    }
    if (argument == "--help" || argument == "-h") {
        std::fputs(
            "Usage: morvane [--catalogue CATALOGUE] [RULES_FILE]\n"
            "Edits a Red Alert rules file (rules.ini) in a window: every section and key in a tree,\n"
            "the selected value in controls made for its kind, each applied value written at once.\n"
            "\n"
            "  RULES_FILE              the file to edit; all remaining arguments form one path, blanks\n"
            "                          included. Without it, rules.ini is looked for in the current,\n"
            "                          the work and the game directory.\n"
            "  --catalogue CATALOGUE   use this catalogue instead of the built-in one\n"
            "  --help                  show this text and exit\n"
            "  --version               show the version and exit\n"
            "\n"
            "Without a window: morvane-cli --help\n",
            stdout);
        return 0;
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto exitCode = AnswerInfoRequest(argc, argv)) return *exitCode;
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
