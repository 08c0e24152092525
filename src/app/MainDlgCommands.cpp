// The menu commands of the main window that are not the value editor's.
#include <QFileInfo>

#include "app/CMainDlg.h"
#include "app/SettingsStore.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CPropertiesDlg.h"
#include "gamesetup/GameSetup.h"
#include "gamesetup/RulesFileCopies.h"
#include "guicommon/FileNames.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "platform/ProgramLaunch.h"
#include "schema/DefaultRulesFile.h"

namespace morvane::app {
namespace {

const QString kRulesFilter = QStringLiteral("Rules Files (*.ini *.INI);;All Files (*)");

QString FolderOf(const std::string& path) { return QFileInfo(PathToQt(path)).absolutePath(); }

const QString kCaption = QStringLiteral("Morvane");

}  // namespace

void CMainDlg::OnLaunchGame() {
    const int result = platform::LaunchProgram(m_strGameExe);
    const gamesetup::LaunchOutcome outcome = gamesetup::DescribeLaunchResult(result, m_strGameExe);
    if (outcome.message) m_prompts.ShowMessage(this, PathToQt(*outcome.message), kCaption);
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
    const QString unsaved = WriteSettings({m_strWorkDir, m_strGameDir, m_strGameExe});
    if (!unsaved.isEmpty())
        m_prompts.ShowMessage(this,
                              QStringLiteral("The settings could not be saved in\n%1\nThey hold until Morvane "
                                             "closes; check that this file and its folder can be written.")
                                  .arg(unsaved),
                              kCaption, QMessageBox::Warning);
    return true;
}

void CMainDlg::OnFileNew() {
    if (!ConfirmPendingEdit()) return;
    const std::string proposed = gamesetup::ProposeNewRulesPath(PathFromQt(FolderOf(m_strRulesPath)));
    const QString chosen =
        m_prompts.ChooseNewFile(this, QStringLiteral("New Rules File"), PathToQt(proposed), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = PathFromQt(chosen);
    switch (gamesetup::ClassifyNewFileTarget(path, m_strRulesPath)) {
        case gamesetup::NewFileTarget::OpenFile:
            m_prompts.ShowMessage(this,
                                  QStringLiteral("%1\nis the rules file you are editing. A new rules file needs a "
                                                 "name of its own.")
                                      .arg(chosen),
                                  kCaption, QMessageBox::Warning);
            return;
        case gamesetup::NewFileTarget::NotAFile:
            m_prompts.ShowMessage(this, QStringLiteral("%1\nis not a regular file.").arg(chosen), kCaption,
                                  QMessageBox::Warning);
            return;
        case gamesetup::NewFileTarget::Existing:
            if (m_prompts.Ask(this,
                              QStringLiteral("%1\nalready exists. Replace it with a new rules file?\nThe file "
                                             "there now is kept as a backup beside it.")
                                  .arg(chosen),
                              kCaption, QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes)
                return;
            break;
        case gamesetup::NewFileTarget::Free:
            break;
    }
    gamesetup::BackupResult backup;
    const int error = gamesetup::CreateRulesFile(path, m_strRulesPath, MakeDefaultRulesFile(m_catalogue), backup);
    if (error != 0) {
        m_prompts.ShowMessage(this,
                              QStringLiteral("Unable To Create The Rules File, Error Number: %1\n%2")
                                  .arg(error)
                                  .arg(PathToQt(platform::DescribeFileError(error, path))),
                              chosen);
        return;
    }
    OpenRulesFile(path);
    if (!backup.backupPath.empty())
        ShowStatus(QStringLiteral("The file that was there is kept as %1.").arg(PathToQt(backup.backupPath)));
}

void CMainDlg::OnFileOpen() {
    if (!ConfirmPendingEdit()) return;
    const QString chosen =
        m_prompts.ChooseOpenFile(this, QStringLiteral("Open Rules File"), FolderOf(m_strRulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = PathFromQt(chosen);
    if (!platform::IsRegularFile(path)) {
        m_prompts.ShowMessage(this, PathToQt(gamesetup::FailedToLoadMessage(path)), kCaption, QMessageBox::Warning);
        return;
    }
    OpenRulesFile(path);
}

void CMainDlg::OnFileSaveAs() {
    // The copy is made from the file: the labels must show what it holds.
    CheckRulesFile();
    const QString chosen =
        m_prompts.ChooseSaveFile(this, QStringLiteral("Save Rules File As"), PathToQt(m_strRulesPath), kRulesFilter);
    if (chosen.isEmpty()) return;
    const std::string path = PathFromQt(chosen);
    if (platform::IsSameFile(path, m_strRulesPath)) return;
    const int error = SaveCopyAs(path);
    if (error != 0) {
        m_prompts.ShowMessage(this,
                              QStringLiteral("Unable To Save Changes, Error NUmber: %1 \n%2")
                                  .arg(error)
                                  .arg(PathToQt(platform::DescribeFileError(error, path))),
                              PathToQt(m_strRulesPath));
        return;
    }
    // The copy holds the same values as the tree shows: carry on editing it.
    m_strRulesPath = path;
    m_rules.SetRulesPath(path);
    setWindowTitle(QStringLiteral("Morvane - ") + PathToQt(path));
    WatchRulesFile(path);
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
                PathToQt("The game directory holds a different rules file:\n" + target +
                         "\nReplace it with the file you are editing? The file there now is kept as a backup beside "
                         "it (an earlier backup is never replaced)."),
                kCaption, QMessageBox::Yes | QMessageBox::Cancel);
            if (answer != QMessageBox::Yes) return;
            [[fallthrough]];
        }
        case gamesetup::InstallState::Missing:
            if (const int error = gamesetup::InstallGameRules(m_strRulesPath, target)) {
                m_prompts.ShowMessage(this,
                                      PathToQt("Unable To Copy The Rules File, Error Number: " + std::to_string(error) +
                                               " \n" + platform::DescribeFileError(error, target)),
                                      kCaption);
                return;
            }
            break;
    }
    OnLaunchGame();
}

}  // namespace morvane::app
