#include "app/CMainDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTreeView>

#include "app/RulesTreeModel.h"
#include "app/SettingsStore.h"
#include "app/TreeFinder.h"
#include "editor/ControlIds.h"
#include "guicommon/Artwork.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileLookup.h"
#include "rulesfile/ValueLabel.h"
#include "tree/TreeBuilder.h"

namespace morvane::app {
namespace {

// Qt's own limit for a line edit; a longer value must not be cut by it.
constexpr int kLineEditDefaultLimit = 32767;

// Sets an edit's text without losing any of it to the edit's length limit.
void SetLimitedText(QLineEdit* edit, int limit, const std::string& text) {
    const QString shown = ToQt(text);
    edit->setMaxLength(std::max<int>(limit, static_cast<int>(shown.size())));
    edit->setText(shown);
}

}  // namespace

CMainDlg::CMainDlg(const StringTable& catalogue, UserPrompts& prompts, QWidget* parent)
    : QMainWindow(parent),
      m_catalogue(catalogue),
      m_prompts(prompts),
      m_rules(*this),
      m_items(catalogue, m_tree, m_rules),
      m_editor(std::make_unique<ValueEditor>(m_tree, catalogue, m_items)) {
    m_editor->SetDataExchange(this);
    m_model = new RulesTreeModel(m_tree, this);
    setWindowIcon(art::AppIcon());
    BuildWidgets();
    BuildFindingsView();
    RestoreWindowState();
}

CMainDlg::~CMainDlg() = default;

bool CMainDlg::OnInitDialog() {
    m_strRulesFileName = gamesetup::RulesPathIn("");
    m_strSearchDir = gamesetup::WithoutTrailingSeparator(platform::CurrentDirectory().value_or(""));
    const auto found = gamesetup::LocateRulesFile(m_strRulesPath, m_strSearchDir, *this);
    if (!found) return false;
    OpenRulesFile(*found);
    return true;
}

gamesetup::Settings CMainDlg::ReadSettings() {
    const gamesetup::Settings settings = app::ReadSettings(m_strSearchDir);
    m_strWorkDir = settings.workDir;
    m_strGameDir = settings.gameDir;
    m_strGameExe = settings.gameExe;
    m_strGameRulesPath = gamesetup::RulesPathIn(m_strGameDir);
    return settings;
}

std::optional<std::string> CMainDlg::FindExisting(const std::string& path) {
    return platform::FindRegularFileNoCase(path);
}

void CMainDlg::ReportFailedToLoad(const std::string& path) {
    m_prompts.ShowMessage(this, PathToQt(gamesetup::FailedToLoadMessage(path)), QStringLiteral("Morvane"),
                          QMessageBox::Warning);
}

// Write failures: the caption is the rules file's path, the text names the section and key (the
// catalogue's, plain ASCII) and the path; both are read as file names.
void CMainDlg::ShowMessage(const std::string& text, const std::string& caption) {
    m_lastMessage = text;
    m_prompts.ShowMessage(this, PathToQt(text), PathToQt(caption));
}

void CMainDlg::OpenRulesFile(const std::string& path) {
    SaveFileState();
    ForgetHistory();
    m_strRulesPath = path;
    m_rules.SetRulesPath(path);
    setWindowTitle(QStringLiteral("Morvane - ") + PathToQt(path));
    m_model->BeginRebuild();
    // The old editor points at items of the old tree: start afresh.
    m_editor = std::make_unique<ValueEditor>(m_tree, m_catalogue, m_items);
    m_editor->SetDataExchange(this);
    TreeBuilder(m_tree, m_catalogue, m_rules).BuildTree();
    m_model->EndRebuild();
    DoDataExchange(false);
    WatchRulesFile(path);
    RestoreFileState();
}

void CMainDlg::SelectItem(TreeItem item) {
    const QModelIndex index = m_finder->ViewIndexOf(item);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent()) m_treeView->expand(parent);
    m_treeView->scrollTo(index);
    m_treeView->setCurrentIndex(index);
}

void CMainDlg::OnSelchangedTree(TreeItem item) { m_editor->OnSelchangedTree(item); }

void CMainDlg::OnApply() {
    if (!PrepareWrite()) return;
    RecordWrite("Apply", [this] { return m_editor->OnApply(); });
    FileWritten();
}

void CMainDlg::OnDefault() {
    if (!PrepareWrite()) return;
    RecordWrite("Default", [this] { return m_editor->OnDefault(); });
    FileWritten();
}

void CMainDlg::PushCombo(QComboBox* combo, const ComboControl& state, const std::string& text) {
    QStringList entries;
    for (const std::string& entry : state.entries) entries << ToQt(entry);
    QStringList current;
    for (int i = 0; i < combo->count(); ++i) current << combo->itemText(i);
    if (current != entries) {
        combo->clear();
        combo->addItems(entries);
    }
    combo->setCurrentIndex(state.selection);
    if (state.selection < 0) combo->setEditText(ToQt(text));
}

void CMainDlg::DoDataExchange(bool saveAndValidate) {
    ValueEditor& editor = *m_editor;
    if (saveAndValidate) {
        editor.m_strValue = FromQt(m_valueEdit->text());
        editor.m_strList = FromQt(m_listCombo->currentText());
        editor.m_bCheck = m_checkBox->isChecked() ? 1 : 0;
        editor.m_strChance = FromQt(m_chanceEdit->text());
        editor.m_strAnimation = FromQt(m_animationCombo->currentText());
        editor.m_strOption = FromQt(m_optionEdit->text());
        editor.m_listCombo.selection = m_listCombo->currentIndex();
        editor.m_animationCombo.selection = m_animationCombo->currentIndex();
        editor.m_percentSlider.position = m_percentSlider->value();
        for (std::size_t i = 0; i < 5; ++i) {
            *editor.VersesMember(i) = FromQt(m_versesEdits[i]->text());
            editor.m_versesSliders[i].position = m_versesSliders[i]->value();
        }
        for (int row = 0;
             row < m_multiList->count() && static_cast<std::size_t>(row) < editor.m_multiList.selected.size(); ++row)
            editor.m_multiList.selected[static_cast<std::size_t>(row)] = m_multiList->item(row)->isSelected();
        return;
    }

    std::vector<QSignalBlocker> blockers;
    for (QObject* widget : std::initializer_list<QObject*>{m_listCombo, m_animationCombo, m_percentSlider, m_multiList,
                                                           m_versesSliders[0], m_versesSliders[1], m_versesSliders[2],
                                                           m_versesSliders[3], m_versesSliders[4]})
        blockers.emplace_back(widget);

    m_pathText->setText(ToQt(editor.m_strPath));
    m_helpText->setText(ToQt(editor.m_strHelp));
    m_defaultText->setText(ToQt(editor.m_strDefault));
    m_gameReadsText->setText(ToQt(editor.m_strGameReads));
    SetLimitedText(m_valueEdit, kLineEditDefaultLimit, editor.m_strValue);
    m_percentText->setText(ToQt(editor.m_strPercent));
    m_checkBox->setText(ToQt(editor.m_strCheckCaption));
    m_checkBox->setChecked(editor.m_bCheck != 0);
    SetLimitedText(m_chanceEdit, control::kChanceMaxChars, editor.m_strChance);
    SetLimitedText(m_optionEdit, control::kOptionMaxChars, editor.m_strOption);
    m_optionCaption->setText(ToQt(editor.m_strOptionLabel));
    PushCombo(m_listCombo, editor.m_listCombo, editor.m_strList);
    PushCombo(m_animationCombo, editor.m_animationCombo, editor.m_strAnimation);

    const auto pushSlider = [](QSlider* slider, const SliderControl& state) {
        slider->setRange(state.lower, state.upper);
        slider->setPageStep(state.pageSize);
        slider->setTickInterval(state.tickFrequency);
        slider->setValue(state.position);
    };
    pushSlider(m_percentSlider, editor.m_percentSlider);
    for (std::size_t i = 0; i < 5; ++i) {
        pushSlider(m_versesSliders[i], editor.m_versesSliders[i]);
        m_versesEdits[i]->setText(ToQt(*editor.VersesMember(i)));
    }

    QStringList entries;
    for (const std::string& entry : editor.m_multiList.entries) entries << ToQt(entry);
    m_multiList->clear();
    m_multiList->addItems(entries);
    for (int row = 0; row < m_multiList->count(); ++row)
        m_multiList->item(row)->setSelected(editor.m_multiList.selected.at(static_cast<std::size_t>(row)));

    for (const auto& [id, widget] : m_controls) {
        if (id == control::kTree || id == control::kPathText || id == control::kDefaultText ||
            id == control::kHelpText || id == control::kApplyButton || id == control::kDefaultButton || id == 1 ||
            id == 2)
            continue;
        widget->setVisible(editor.IsVisible(id));
    }
    const bool picture = editor.m_nIconId != 0 && editor.IsVisible(editor.m_nIconId);
    if (picture) m_picture->setPixmap(art::ObjectPicture(static_cast<std::uint16_t>(editor.m_nIconId)));
    m_picture->setVisible(picture);
    m_applyButton->setEnabled(editor.m_bApplyEnabled);
    m_defaultButton->setEnabled(editor.m_bDefaultEnabled);
    m_commands.at(control::kMatchAllMenuItem)->setEnabled(editor.m_bMatchAllEnabled);
    m_commands.at(control::kMatchAllMenuItem)->setToolTip(ToQt(editor.m_strMatchAllRefusal));
}

bool CMainDlg::ConfirmPendingEdit(bool closing) {
    if (m_editor->m_hCurItem == kNoItem || !m_editor->HasPendingEdit()) return true;
    const std::string key = KeyOfLabel(m_tree.GetItemText(m_editor->m_hCurItem));
    UserPrompts::ButtonLabels labels;
    if (closing) {
        labels[QMessageBox::Apply] = QStringLiteral("Apply and Close");
        labels[QMessageBox::Discard] = QStringLiteral("Close Without Applying");
    }
    const auto answer = m_prompts.AskLabelled(this, ToQt("The value of " + key + " was changed but not applied."),
                                              QStringLiteral("Morvane"),
                                              QMessageBox::Apply | QMessageBox::Discard | QMessageBox::Cancel, labels);
    if (answer == QMessageBox::Apply) {
        OnApply();
        return !m_editor->HasPendingEdit();  // a failed write keeps the user here, edit intact
    }
    return answer == QMessageBox::Discard;
}

void CMainDlg::accept() {
    if (!m_closing && !ConfirmPendingEdit(true)) return;
    m_closing = true;
    close();
}

void CMainDlg::reject() { accept(); }

void CMainDlg::closeEvent(QCloseEvent* event) {
    if (!m_closing && !ConfirmPendingEdit(true)) {
        event->ignore();
        return;
    }
    m_closing = true;
    SaveFileState();
    SaveWindowState();
    QMainWindow::closeEvent(event);
    emit Closed();
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
    // Escape anywhere that does not use it itself is Cancel, as in a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reject();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CMainDlg::OnExit() { accept(); }

}  // namespace morvane::app
