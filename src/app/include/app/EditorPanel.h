#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>

#include "app/KeyFacts.h"
#include "editor/ValueEditor.h"

class QCheckBox;
class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSlider;
class QSpinBox;
class QVBoxLayout;

namespace morvane::app {

// The value editor's side of the window: the controls of every kind of value, the key's path,
// default, "game reads" line and help, and the Apply and Default buttons. It copies between its
// widgets and the core editor's members (DoDataExchange) and reports what the user does with
// them; the window decides what a command does.
class EditorPanel : public QWidget, public DataExchange {
    Q_OBJECT
public:
    explicit EditorPanel(QWidget* parent = nullptr);

    // The editor whose members the widgets show; the window makes a new one per file.
    void SetEditor(ValueEditor* editor) { m_editor = editor; }
    // true: widgets into the editor's members; false: members into the widgets.
    void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate) override { DoDataExchange(saveAndValidate); }

    // The widget of a control id (see editor/ControlIds.h), or nullptr.
    QWidget* Control(int controlId) const;
    QLabel* Picture() const { return m_picture; }
    QLabel* GameReadsText() const { return m_gameReadsText; }
    QPushButton* ApplyButton() const { return m_applyButton; }
    // Marks the Apply button while the controls hold an edit not yet applied.
    void ShowPending(bool pending);
    // The "game reads" line follows the file after a write.
    void ShowGameReads();
    // Tab from the tree: the first control of the shown value takes the focus; false when none
    // is shown.
    bool FocusValue();
    // A second line under "game reads": which of the game's files decides the shown key.
    struct GamePlaysLine {
        QString text;            // "The game plays: 250 (AFTRMATH.INI, line 123)", or empty
        bool notInFile = false;  // the edited file leaves the key out
    };
    void SetGamePlays(std::function<GamePlaysLine(TreeItem)> line) { m_gamePlays = std::move(line); }
    // Places a widget of another part of the window beneath the "game reads" lines.
    void AddBelowGameReads(QWidget* widget);
    // The "game reads" line from the file as it is now, also while the controls hold an edit.
    void SetGameReads(std::function<std::optional<QString>(TreeItem)> line) { m_gameReads = std::move(line); }
    // The range, unit and kind of a key, for the lines under the value and the typed-value check.
    void SetFacts(std::function<KeyFacts(TreeItem)> facts) { m_facts = std::move(facts); }
    // Why the typed value does not fit the shown key, or empty when it does (or nothing is typed).
    QString TypedProblem() const;
    QLabel* TitleText() const { return m_titleText; }

signals:
    void ApplyRequested();
    void DefaultRequested();
    // A value control changed; whether an edit is now pending is for the window to find out.
    void Edited();
    // The members were copied into the widgets (a new item, a step, a write).
    void Shown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButtons();
    bool HasPendingEdit() const;
    void SyncVersesSlider(int column);
    QString GameReadsText(const ValueEditor& editor, bool afterCheck) const;
    void ShowFacts(const KeyFacts& facts);
    void ShowTypedProblem();
    void ShowProblem(const QString& problem);
    void Register(int controlId, QWidget* widget);
    void BuildValueControls(QVBoxLayout* column);
    void BuildCrateControls(QVBoxLayout* column);
    void WatchKeys();

    ValueEditor* m_editor = nullptr;
    std::map<int, QWidget*> m_controls;
    QLineEdit* m_valueEdit = nullptr;
    QComboBox* m_listCombo = nullptr;
    QCheckBox* m_checkBox = nullptr;
    QSlider* m_percentSlider = nullptr;
    QSpinBox* m_percentSpin = nullptr;
    QSlider* m_versesSliders[5] = {};
    QLineEdit* m_versesEdits[5] = {};
    QLineEdit* m_chanceEdit = nullptr;
    QComboBox* m_animationCombo = nullptr;
    QLineEdit* m_optionEdit = nullptr;
    QListWidget* m_multiList = nullptr;
    QLabel* m_picture = nullptr;
    QLabel* m_pathText = nullptr;
    QLabel* m_defaultText = nullptr;
    QLabel* m_gameReadsText = nullptr;
    std::function<GamePlaysLine(TreeItem)> m_gamePlays;
    std::function<std::optional<QString>(TreeItem)> m_gameReads;
    std::function<KeyFacts(TreeItem)> m_facts;
    KeyFacts m_shownFacts;
    QTimer m_problemCheck;
    QBoxLayout* m_valueRow = nullptr;
    QBoxLayout* m_buttons = nullptr;
    QLabel* m_titleText = nullptr;
    QLabel* m_problemText = nullptr;
    QLabel* m_rangeCaption = nullptr;
    QLabel* m_rangeText = nullptr;
    QLabel* m_unitCaption = nullptr;
    QLabel* m_unitText = nullptr;
    QLabel* m_helpText = nullptr;
    QLabel* m_percentText = nullptr;
    QLabel* m_optionCaption = nullptr;
    QPushButton* m_applyButton = nullptr;
    QPushButton* m_defaultButton = nullptr;
};

}  // namespace morvane::app
