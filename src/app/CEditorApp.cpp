#include "app/CEditorApp.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <variant>

#include "app/CMainDlg.h"
#include "app/RecentFiles.h"
#include "dialogs/CSplashWnd.h"
#include "gamesetup/StartupSearch.h"
#include "guicommon/FileNames.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "platform/FileLookup.h"
#include "schema/CatalogueFile.h"

using morvane::dialogs::CSplashWnd;
using morvane::guicommon::PathFromQt;
using morvane::guicommon::QtPrompts;

namespace morvane::app {
namespace {

// Hides the splash whenever a dialog or a question comes up: nothing may cover what asks.
class SplashGivesWay : public QObject {
public:
    explicit SplashGivesWay(CSplashWnd& splash) : QObject(&splash), m_splash(splash) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched != &m_splash && qobject_cast<QDialog*>(watched) != nullptr &&
            m_splash.isVisible())
            m_splash.hide();
        return QObject::eventFilter(watched, event);
    }

private:
    CSplashWnd& m_splash;
};

}  // namespace

CEditorApp::CEditorApp() = default;
CEditorApp::~CEditorApp() = default;

void CEditorApp::InitApplication() {
    m_strStartDir = gamesetup::WithoutTrailingSeparator(platform::CurrentDirectory().value_or(""));
}

int CEditorApp::InitInstance(const QStringList& arguments) {
    std::vector<std::string> args;
    for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(PathFromQt(arguments[i]));

    // "--catalogue FILE" first replaces the built-in catalogue; everything after is the path.
    StringTable replacement;
    const StringTable* catalogue = &BuiltInCatalogue();
    if (args.size() >= 2 && args[0] == "--catalogue") {
        auto loaded = LoadCatalogueFile(args[1]);
        if (loaded.index() == 1) {
            std::fprintf(stderr, "morvane: catalogue %s\n",
                         DescribeCatalogueError(args[1], std::get<1>(loaded)).c_str());
            return 2;
        }
        replacement = std::get<0>(std::move(loaded));
        catalogue = &replacement;
        args.erase(args.begin(), args.begin() + 2);
    }
    m_strCmdLineFile = gamesetup::JoinCommandLine(args);
    // Without a file named, the file edited last opens again, if it is still there.
    if (m_strCmdLineFile.empty()) {
        for (const QString& recent : RecentFiles::StoredPaths()) {
            if (!platform::IsRegularFile(PathFromQt(recent))) continue;
            m_strCmdLineFile = PathFromQt(recent);
            break;
        }
    }

    m_wndSplash = std::make_unique<CSplashWnd>();
    m_wndSplash->ShowSplash();
    new SplashGivesWay(*m_wndSplash);

    QtPrompts prompts;
    WindowPaths paths = WindowPaths::ForFile(m_strCmdLineFile);
    paths.startDir = m_strStartDir;
    CMainDlg dialog(*catalogue, prompts, paths);
    if (!dialog.OnInitDialog()) return 0;
    // For the start-up benchmark: leave as soon as the window with its tree is on screen.
    if (std::getenv("MORVANE_QUIT_WHEN_SHOWN") != nullptr) {
        dialog.show();
        QCoreApplication::processEvents();
        return 0;
    }
    // The start-up splash stays above the window that has just come up, for the rest of its time.
    QTimer::singleShot(0, m_wndSplash.get(), [splash = m_wndSplash.get()] {
        if (splash->isVisible()) splash->raise();
    });
    QObject::connect(&dialog, &CMainDlg::Closed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    dialog.show();
    QCoreApplication::exec();
    return 0;
}

}  // namespace morvane::app
