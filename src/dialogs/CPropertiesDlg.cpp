#include "dialogs/CPropertiesDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/CSetDirectoryDlg.h"
#include "gamesetup/GameSetup.h"
#include "guicommon/FileNames.h"
#include "guicommon/UserPrompts.h"

namespace morvane::dialogs {

CPropertiesDlg::CPropertiesDlg(guicommon::UserPrompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Properties"));
    auto* layout = new QGridLayout(this);
    m_programDirEdit = new QLineEdit(this);
    m_programDirEdit->setReadOnly(true);
    m_workDirEdit = new QLineEdit(this);
    m_gameExeEdit = new QLineEdit(this);
    m_programDirEdit->setObjectName(QStringLiteral("control1050"));
    m_gameExeEdit->setObjectName(QStringLiteral("control1051"));
    m_workDirEdit->setObjectName(QStringLiteral("control1055"));
    for (QLineEdit* edit : {m_programDirEdit, m_workDirEdit, m_gameExeEdit}) edit->setMinimumWidth(320);
    auto* browseWork = new QPushButton(QStringLiteral("..."), this);
    auto* browseGame = new QPushButton(QStringLiteral("..."), this);
    browseWork->setObjectName(QStringLiteral("control1053"));
    browseGame->setObjectName(QStringLiteral("control1052"));
    for (QPushButton* browse : {browseWork, browseGame}) {
        browse->setAutoDefault(false);
        browse->setFixedWidth(32);
    }

    layout->addWidget(new QLabel(QStringLiteral("Program Directory:"), this), 0, 0);
    layout->addWidget(m_programDirEdit, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("Work Directory:"), this), 2, 0);
    layout->addWidget(m_workDirEdit, 3, 0);
    layout->addWidget(browseWork, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Red Alert Program to Launch:"), this), 4, 0);
    layout->addWidget(m_gameExeEdit, 5, 0);
    layout->addWidget(browseGame, 5, 1);

    auto* buttons = new QVBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    layout->addLayout(buttons, 0, 2, 6, 1);

    connect(browseWork, &QPushButton::clicked, this, &CPropertiesDlg::OnBrowseWorkDir);
    connect(browseGame, &QPushButton::clicked, this, &CPropertiesDlg::OnBrowseGame);
    connect(ok, &QPushButton::clicked, this, &CPropertiesDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPropertiesDlg::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate) {
        m_strProgramDir = guicommon::PathFromQt(m_programDirEdit->text());
        m_strGameExe = guicommon::PathFromQt(m_gameExeEdit->text());
        m_strWorkDir = guicommon::PathFromQt(m_workDirEdit->text());
        return;
    }
    m_programDirEdit->setText(guicommon::PathToQt(m_strProgramDir));
    m_gameExeEdit->setText(guicommon::PathToQt(m_strGameExe));
    m_workDirEdit->setText(guicommon::PathToQt(m_strWorkDir));
}

void CPropertiesDlg::OnBrowseGame() {
    // What the user typed counts: a browse changes only its own field (and the game directory).
    DoDataExchange(true);
    const QString start =
        guicommon::PathToQt(m_strGameDir.empty() ? std::string("RA95.EXE") : m_strGameDir + "/RA95.EXE");
    const QString chosen = m_prompts.ChooseOpenFile(this, QStringLiteral("Red Alert Program to Launch"), start,
                                                    QStringLiteral("Program Files (*.exe *.EXE);;All Files (*)"));
    if (chosen.isEmpty()) return;
    m_strGameExe = guicommon::PathFromQt(chosen);
    m_strGameDir = gamesetup::GameDirFromProgram(m_strGameExe);
    DoDataExchange(false);
}

void CPropertiesDlg::OnBrowseWorkDir() {
    DoDataExchange(true);
    CSetDirectoryDlg picker(this);
    // The picker starts at the folder the field holds.
    if (!m_strWorkDir.empty()) picker.OpenAt(m_strWorkDir);
    if (m_prompts.Exec(picker) != QDialog::Accepted) return;
    m_strWorkDir = picker.m_strDirectory;
    DoDataExchange(false);
}

void CPropertiesDlg::OnOK() {
    DoDataExchange(true);
    if (gamesetup::PrepareWorkDirectory(m_strWorkDir)) {
        accept();
        return;
    }
    // The fixed line first, then what went wrong and what to do about it.
    const QString why = m_strWorkDir.empty()
                            ? QStringLiteral("No work folder is given.")
                            : QStringLiteral(
                                  "Morvane could neither enter nor create the folder\n%1\n(only the last folder of a "
                                  "path is created, and only where you may write).")
                                  .arg(guicommon::PathToQt(m_strWorkDir));
    m_prompts.ShowMessage(this,
                          QStringLiteral("Working Directory Is Invalid\n\n%1\nChoose an existing folder with "
                                         "Browse, or create the folders first, then press OK again.")
                              .arg(why),
                          QStringLiteral("Unable To Create Work Directory"));
}

}  // namespace morvane::dialogs
