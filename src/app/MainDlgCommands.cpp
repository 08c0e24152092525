// The menu commands of the main window that are not the value editor's.
#include <QFileInfo>

#include "app/CMainDlg.h"
#include "app/SettingsStore.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CPropertiesDlg.h"
#include "gamesetup/GameSetup.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "platform/ProgramLaunch.h"
#include "schema/DefaultRulesFile.h"

namespace morvane::app {
namespace {

const QString kRulesFilter = QStringLiteral("Rules Files (*.ini *.INI);;All Files (*)");

QString FolderOf(const std::string& path) { return QFileInfo(ToQt(path)).absolutePath(); }

}  // namespace

void CMainDlg::OnLaunchGame() {
    const int result = platform::LaunchProgram(m_strGameExe);
    const gamesetup::LaunchOutcome outcome = gamesetup::DescribeLaunchResult(result, m_strGameExe);
    if (outcome.message) m_prompts.ShowMessage(this, ToQt(*outcome.message), QStringLiteral("Morvane"));
    if (outcome.openProgramLocation) OnProgramLocation();
}

void CMainDlg::OnAbout() {
    CAboutDlg about(this);
    m_prompts.Exec(about);
}

void CMainDlg::OnSplash() { m_wndSplash.ShowSplash(); }

bool CMainDlg::OnProgramLocation() {
    CPropertiesDlg properties(m_prompts, this);
    properties.m_strGameDir = m_strGameDir;
    properties.m_strProgramDir = m_strStartDir;
    properties.m_strGameExe = m_strGameExe;
    properties.m_strWorkDir = m_strWorkDir;
    properties.DoDataExchange(false);
    if (m_prompts.Exec(properties) != QDialog::Accepted) return false;
    m_strGameDir = properties.m_strGameDir;
    m_strGameRulesPath = gamesetup::RulesPathIn(m_strGameDir);
    m_strGameExe = properties.m_strGameExe;
    m_strWorkDir = properties.m_strWorkDir;
    WriteSettings({m_strWorkDir, m_strGameDir, m_strGameExe});
    return true;
}

void CMainDlg::OnFileNew() {
    if (!ConfirmPendingEdit()) return;
    const QString chosen = m_prompts.ChooseSaveFile(
        this, QStringLiteral("New Rules File"), FolderOf(m_strRulesPath) + QStringLiteral("/rules.ini"), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = FromQt(chosen);
    const int error = platform::ReplaceFileAtomically(path, MakeDefaultRulesFile(m_catalogue));
    if (error != 0) {
        m_prompts.ShowMessage(this, ToQt("Unable To Create The Rules File, Error Number: " + std::to_string(error)),
                              chosen);
        return;
    }
    OpenRulesFile(path);
}

void CMainDlg::OnFileOpen() {
    if (!ConfirmPendingEdit()) return;
    const QString chosen =
        m_prompts.ChooseOpenFile(this, QStringLiteral("Open Rules File"), FolderOf(m_strRulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    if (!platform::FileExists(FromQt(chosen))) {
        m_prompts.ShowMessage(this, ToQt(gamesetup::FailedToLoadMessage(FromQt(chosen))), QStringLiteral("Morvane"),
                              QMessageBox::Warning);
        return;
    }
    OpenRulesFile(FromQt(chosen));
}

void CMainDlg::OnFileSaveAs() {
    const QString chosen =
        m_prompts.ChooseSaveFile(this, QStringLiteral("Save Rules File As"), ToQt(m_strRulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = FromQt(chosen);
    if (platform::IsSameFile(path, m_strRulesPath)) return;
    const int error = gamesetup::CopyRulesFile(m_strRulesPath, path);
    if (error != 0) {
        m_prompts.ShowMessage(this,
                              ToQt("Unable To Save Changes, Error NUmber: " + std::to_string(error) + " \n" + path),
                              ToQt(m_strRulesPath));
        return;
    }
    // The copy holds the same values as the tree shows: carry on editing it.
    m_strRulesPath = path;
    m_rules.SetRulesPath(path);
    setWindowTitle(ToQt("Morvane - " + path));
}

void CMainDlg::OnLaunchWithFile() {
    const std::string target = gamesetup::RulesPathIn(m_strGameDir);
    switch (gamesetup::CheckGameRules(m_strRulesPath, target)) {
        case gamesetup::InstallState::SameFile:
        case gamesetup::InstallState::Identical:
            break;
        case gamesetup::InstallState::Different: {
            const auto answer = m_prompts.Ask(
                this,
                ToQt("The game directory holds a different rules file:\n" + target +
                     "\nReplace it with the file you are editing? The file there now is kept as " + target + ".bak."),
                QStringLiteral("Morvane"), QMessageBox::Yes | QMessageBox::Cancel);
            if (answer != QMessageBox::Yes) return;
            [[fallthrough]];
        }
        case gamesetup::InstallState::Missing:
            if (const int error = gamesetup::InstallGameRules(m_strRulesPath, target)) {
                m_prompts.ShowMessage(
                    this,
                    ToQt("Unable To Copy The Rules File, Error Number: " + std::to_string(error) + " \n" + target),
                    QStringLiteral("Morvane"));
                return;
            }
            break;
    }
    OnLaunchGame();
}

}  // namespace morvane::app
