#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace morvane::guicommon {
class UserPrompts;
}  // namespace morvane::guicommon

namespace morvane::dialogs {

// "Properties": the work directory and the game program, each with a browse button, and the
// program's own directory for reference.
class CPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPropertiesDlg(guicommon::UserPrompts& prompts, QWidget* parent = nullptr);

    // true: the edits into the fields; false: the fields into the edits.
    void DoDataExchange(bool saveAndValidate);

    void OnBrowseGame();
    void OnBrowseWorkDir();
    // Takes the edits, then makes sure the work directory exists (changing to it, or creating
    // it); closes with OK only then.
    void OnOK();

    QLineEdit* ProgramDirEdit() const { return m_programDirEdit; }
    QLineEdit* GameExeEdit() const { return m_gameExeEdit; }
    QLineEdit* WorkDirEdit() const { return m_workDirEdit; }

    std::string m_strProgramDir;
    std::string m_strGameExe;
    std::string m_strWorkDir;
    std::string m_strGameDir;

private:
    guicommon::UserPrompts& m_prompts;
    QLineEdit* m_programDirEdit = nullptr;
    QLineEdit* m_gameExeEdit = nullptr;
    QLineEdit* m_workDirEdit = nullptr;
};

}  // namespace morvane::dialogs
