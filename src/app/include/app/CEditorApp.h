#pragma once

#include <QStringList>
#include <memory>
#include <string>

namespace morvane::dialogs {
class CSplashWnd;
}  // namespace morvane::dialogs

namespace morvane::app {

// The program as a whole: reads the command line, shows the splash window and runs the main
// window until it closes.
class CEditorApp {
public:
    CEditorApp();
    ~CEditorApp();

    // Records the directory the program starts in.
    void InitApplication();
    // Runs the program; returns the process's exit code.
    int InitInstance(const QStringList& arguments);

    std::string m_strStartDir;
    std::string m_strCmdLineFile;
    std::unique_ptr<dialogs::CSplashWnd> m_wndSplash;
};

}  // namespace morvane::app
