#include "app/EditorPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/UpDownButtons.h"
#include "editor/ControlIds.h"
#include "guicommon/Artwork.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::FromQt;
using morvane::guicommon::ToQt;

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

void PushCombo(QComboBox* combo, const ComboControl& state, const std::string& text) {
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

QSlider* MakeSlider(Qt::Orientation orientation, QWidget* parent) {
    auto* slider = new QSlider(orientation, parent);
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setTickInterval(10);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow : QSlider::TicksRight);
    return slider;  // a vertical one has its top at the highest value
}

// Up and Down (and Page Up and Down, ten at a time) in a number's edit step it as its spin does,
// while the edit still takes any typed text.
class StepKeys : public QObject {
public:
    StepKeys(QLineEdit* edit, std::function<bool()> enabled, std::function<void(int)> step)
        : QObject(edit), m_enabled(std::move(enabled)), m_step(std::move(step)) {
        edit->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !m_enabled()) return QObject::eventFilter(watched, event);
        int delta = 0;
        switch (static_cast<QKeyEvent*>(event)->key()) {
            case Qt::Key_Up:
                delta = 1;
                break;
            case Qt::Key_Down:
                delta = -1;
                break;
            case Qt::Key_PageUp:
                delta = 10;
                break;
            case Qt::Key_PageDown:
                delta = -10;
                break;
            default:
                return QObject::eventFilter(watched, event);
        }
        m_step(delta);
        return true;
    }

private:
    std::function<bool()> m_enabled;
    std::function<void(int)> m_step;
};

}  // namespace

EditorPanel::EditorPanel(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 0, 0, 0);

    // The key's name as a title, its path in the tree beneath it, the object's picture beside.
    auto* top = new QHBoxLayout;
    auto* heading = new QVBoxLayout;
    heading->setSpacing(0);
    m_titleText = new QLabel(this);
    m_titleText->setObjectName(QStringLiteral("keyTitle"));
    QFont titleFont = m_titleText->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_titleText->setFont(titleFont);
    m_titleText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pathText = new QLabel(this);
    m_pathText->setWordWrap(true);
    m_pathText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pathText->setForegroundRole(QPalette::PlaceholderText);
    Register(control::kPathText, m_pathText);
    heading->addWidget(m_titleText);
    heading->addWidget(m_pathText);
    m_picture = new QLabel(this);
    m_picture->setFixedSize(64, 64);
    m_picture->hide();
    top->addLayout(heading, 1);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    column->addLayout(top);

    // The value's controls, with Apply and Default beside them.
    m_valueRow = new QBoxLayout(QBoxLayout::LeftToRight);
    auto* values = new QVBoxLayout;
    BuildValueControls(values);
    BuildCrateControls(values);
    // Several entries of a list.
    m_multiList = new QListWidget(this);
    m_multiList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_multiList->setAccessibleName(QStringLiteral("Entries"));
    m_multiList->setMinimumHeight(120);
    Register(control::kMultiList, m_multiList);
    values->addWidget(m_multiList, 1);
    m_valueRow->addLayout(values, 1);

    auto* buttons = new QBoxLayout(QBoxLayout::TopToBottom);
    m_buttons = buttons;
    m_applyButton = new QPushButton(QStringLiteral("&Apply"), this);
    m_defaultButton = new QPushButton(QStringLiteral("&Default"), this);
    Register(control::kApplyButton, m_applyButton);
    Register(control::kDefaultButton, m_defaultButton);
    for (QPushButton* button : {m_applyButton, m_defaultButton}) {
        button->setEnabled(false);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    m_valueRow->addLayout(buttons);
    column->addLayout(m_valueRow);
    connect(m_applyButton, &QPushButton::clicked, this, &EditorPanel::ApplyRequested);
    connect(m_defaultButton, &QPushButton::clicked, this, &EditorPanel::DefaultRequested);

    // Why a typed value does not fit the key, while it does not.
    m_problemText = new QLabel(this);
    m_problemText->setObjectName(QStringLiteral("valueProblem"));
    m_problemText->setWordWrap(true);
    QPalette warning = m_problemText->palette();
    warning.setColor(QPalette::WindowText, QColor(0xb0, 0x1c, 0x1c));
    m_problemText->setPalette(warning);
    m_problemText->hide();
    column->addWidget(m_problemText);

    // The key's default, range and unit.
    auto* facts = new QGridLayout;
    facts->setColumnStretch(1, 1);
    auto* defaultCaption = new QLabel(QStringLiteral("Default:"), this);
    Register(control::kDefaultCaption, defaultCaption);
    m_defaultText = new QLabel(this);
    m_defaultText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_defaultText->setWordWrap(true);
    Register(control::kDefaultText, m_defaultText);
    m_rangeCaption = new QLabel(QStringLiteral("Range:"), this);
    m_rangeText = new QLabel(this);
    m_rangeText->setObjectName(QStringLiteral("keyRange"));
    m_unitCaption = new QLabel(QStringLiteral("Unit:"), this);
    m_unitText = new QLabel(this);
    m_unitText->setObjectName(QStringLiteral("keyUnit"));
    const std::pair<QLabel*, QLabel*> rows[] = {
        {defaultCaption, m_defaultText}, {m_rangeCaption, m_rangeText}, {m_unitCaption, m_unitText}};
    for (int row = 0; row < 3; ++row) {
        facts->addWidget(rows[row].first, row, 0, Qt::AlignTop);
        facts->addWidget(rows[row].second, row, 1);
    }
    column->addLayout(facts);

    // What the game makes of the shown key and, when another of the game's files decides it,
    // which one.
    m_gameReadsText = new QLabel(this);
    m_gameReadsText->setObjectName(QStringLiteral("gameReads"));
    m_gameReadsText->setWordWrap(true);
    m_gameReadsText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_gameReadsText);

    // The help, as plain text to read.
    m_helpText = new QLabel(this);
    m_helpText->setWordWrap(true);
    m_helpText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_helpText->setContentsMargins(0, 6, 0, 0);
    m_helpText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_helpText->setAccessibleName(QStringLiteral("Help"));
    Register(control::kHelpText, m_helpText);
    column->addWidget(m_helpText);
    column->addStretch(1);

    for (const auto& [id, widget] : m_controls) {
        const bool alwaysShown = id == control::kPathText || id == control::kDefaultText || id == control::kHelpText ||
                                 id == control::kApplyButton || id == control::kDefaultButton;
        if (!alwaysShown) widget->hide();
    }
    ShowFacts({});
    WatchKeys();
}

void EditorPanel::BuildValueControls(QVBoxLayout* column) {
    // Yes/no and true/false.
    m_checkBox = new QCheckBox(this);
    m_checkBox->setAccessibleName(QStringLiteral("Value"));
    Register(control::kCheckBox, m_checkBox);
    column->addWidget(m_checkBox);

    // Integer and real: an edit, and for integers a spin beside it.
    auto* valueRow = new QHBoxLayout;
    m_valueEdit = new QLineEdit(this);
    m_valueEdit->setAccessibleName(QStringLiteral("Value"));
    Register(control::kValueEdit, m_valueEdit);
    auto* valueSpin = new UpDownButtons(this);
    Register(control::kValueSpin, valueSpin);
    valueRow->addWidget(m_valueEdit, 1);
    valueRow->addWidget(valueSpin);
    column->addLayout(valueRow);
    connect(valueSpin, &UpDownButtons::Stepped, this, [this](int delta) {
        if (m_editor != nullptr) m_editor->StepSpin(control::kValueSpin, delta);
    });

    // One entry of a list.
    m_listCombo = new QComboBox(this);
    m_listCombo->setEditable(true);
    m_listCombo->setInsertPolicy(QComboBox::NoInsert);
    m_listCombo->setMaxVisibleItems(20);
    m_listCombo->setAccessibleName(QStringLiteral("Value"));
    Register(control::kListCombo, m_listCombo);
    column->addWidget(m_listCombo);

    // Percentage: a slider with its scale and the value beside it.
    auto* percent = new QGridLayout;
    m_percentSlider = MakeSlider(Qt::Horizontal, this);
    m_percentSlider->setAccessibleName(QStringLiteral("Percentage slider"));
    Register(control::kPercentSlider, m_percentSlider);
    percent->addWidget(m_percentSlider, 0, 0, 1, 3);
    const std::tuple<int, const char*, Qt::Alignment> scale[] = {{control::kPercentScale0, "0%", Qt::AlignLeft},
                                                                 {control::kPercentScale50, "50%", Qt::AlignHCenter},
                                                                 {control::kPercentScale100, "100%", Qt::AlignRight}};
    for (int i = 0; i < 3; ++i) {
        const auto& [id, text, alignment] = scale[i];
        auto* label = new QLabel(QString::fromLatin1(text), this);
        Register(id, label);
        percent->addWidget(label, 1, i, alignment);
    }
    m_percentText = new QLabel(this);
    m_percentText->setMinimumWidth(40);
    Register(control::kPercentText, m_percentText);
    percent->addWidget(m_percentText, 0, 3);
    // The percentage can be typed as well as dragged.
    m_percentSpin = new QSpinBox(this);
    m_percentSpin->setObjectName(QStringLiteral("percentSpin"));
    m_percentSpin->setAccessibleName(QStringLiteral("Percentage"));
    m_percentSpin->setSuffix(QStringLiteral("%"));
    m_percentSpin->setRange(0, 100);
    m_percentSpin->hide();
    percent->addWidget(m_percentSpin, 0, 4);
    column->addLayout(percent);
    connect(m_percentSpin, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_percentSlider->value() != value) m_percentSlider->setValue(value);
    });
    connect(m_percentSlider, &QSlider::valueChanged, this, [this](int value) {
        if (m_editor != nullptr) m_editor->OnHScroll(control::kPercentSlider);
        const QSignalBlocker quiet(m_percentSpin);
        m_percentSpin->setValue(value);
    });

    // Verses: five vertical sliders, one per armour class, full damage at the top; each value can
    // be typed in the field beneath its slider too.
    auto* verses = new QGridLayout;
    auto* top100 = new QLabel(QStringLiteral("100%"), this);
    auto* bottom0 = new QLabel(QStringLiteral("0%"), this);
    Register(control::kVersesScaleTop, top100);
    Register(control::kVersesScaleBottom, bottom0);
    verses->addWidget(top100, 1, 0, Qt::AlignTop | Qt::AlignRight);
    verses->addWidget(bottom0, 1, 0, Qt::AlignBottom | Qt::AlignRight);
    for (int i = 0; i < 5; ++i) {
        const auto& ids = control::kVersesColumns[i];
        auto* caption = new QLabel(QString::fromLatin1(ids.label), this);
        Register(ids.caption, caption);
        m_versesSliders[i] = MakeSlider(Qt::Vertical, this);
        m_versesSliders[i]->setMinimumHeight(90);
        m_versesSliders[i]->setAccessibleName(QStringLiteral("%1 damage").arg(QString::fromLatin1(ids.label)));
        Register(ids.slider, m_versesSliders[i]);
        m_versesEdits[i] = new QLineEdit(this);
        m_versesEdits[i]->setAccessibleName(QStringLiteral("%1 damage, typed").arg(QString::fromLatin1(ids.label)));
        connect(m_versesEdits[i], &QLineEdit::editingFinished, this, [this, i] { SyncVersesSlider(i); });
        m_versesEdits[i]->setAlignment(Qt::AlignCenter);
        m_versesEdits[i]->setMaximumWidth(56);
        Register(ids.edit, m_versesEdits[i]);
        verses->addWidget(caption, 0, i + 1, Qt::AlignHCenter);
        verses->addWidget(m_versesSliders[i], 1, i + 1, Qt::AlignHCenter);
        verses->addWidget(m_versesEdits[i], 2, i + 1, Qt::AlignHCenter);
        connect(m_versesSliders[i], &QSlider::valueChanged, this, [this, id = ids.slider](int position) {
            if (m_editor != nullptr) m_editor->OnVScroll(id, position);
        });
    }
    column->addLayout(verses);
}

void EditorPanel::BuildCrateControls(QVBoxLayout* column) {
    // Crate powerup: chance, animation and option.
    auto* crate = new QGridLayout;
    auto* chanceCaption = new QLabel(QStringLiteral("Chance"), this);
    auto* animationCaption = new QLabel(QStringLiteral("Animation"), this);
    m_optionCaption = new QLabel(QStringLiteral("Option"), this);
    Register(control::kChanceCaption, chanceCaption);
    Register(control::kAnimationCaption, animationCaption);
    Register(control::kOptionCaption, m_optionCaption);
    m_chanceEdit = new QLineEdit(this);
    m_chanceEdit->setMaxLength(control::kChanceMaxChars);
    m_chanceEdit->setMaximumWidth(60);
    m_chanceEdit->setAccessibleName(QStringLiteral("Chance"));
    Register(control::kChanceEdit, m_chanceEdit);
    auto* chanceSpin = new UpDownButtons(this);
    Register(control::kChanceSpin, chanceSpin);
    connect(chanceSpin, &UpDownButtons::Stepped, this, [this](int delta) {
        if (m_editor != nullptr) m_editor->StepSpin(control::kChanceSpin, delta);
    });
    m_animationCombo = new QComboBox(this);
    m_animationCombo->setEditable(true);
    m_animationCombo->setInsertPolicy(QComboBox::NoInsert);
    m_animationCombo->setAccessibleName(QStringLiteral("Animation"));
    Register(control::kAnimationCombo, m_animationCombo);
    m_optionEdit = new QLineEdit(this);
    m_optionEdit->setMaxLength(control::kOptionMaxChars);
    m_optionEdit->setMaximumWidth(80);
    m_optionEdit->setAccessibleName(QStringLiteral("Option"));
    Register(control::kOptionEdit, m_optionEdit);
    auto* chanceRow = new QHBoxLayout;
    chanceRow->addWidget(m_chanceEdit);
    chanceRow->addWidget(chanceSpin);
    chanceRow->addStretch(1);
    crate->addWidget(chanceCaption, 0, 0);
    crate->addLayout(chanceRow, 0, 1);
    crate->addWidget(animationCaption, 1, 0);
    crate->addWidget(m_animationCombo, 1, 1);
    crate->addWidget(m_optionCaption, 2, 0);
    crate->addWidget(m_optionEdit, 2, 1, Qt::AlignLeft);
    column->addLayout(crate);
}

// Enter in a field that holds a value applies it; Up and Down step a number; any change of a
// value control may start or end a pending edit.
void EditorPanel::WatchKeys() {
    const auto applyIfOffered = [this] {
        if (m_applyButton->isEnabled()) emit ApplyRequested();
    };
    for (QLineEdit* edit :
         {m_valueEdit, m_chanceEdit, m_optionEdit, m_listCombo->lineEdit(), m_animationCombo->lineEdit()})
        connect(edit, &QLineEdit::returnPressed, this, applyIfOffered);

    const auto stepper = [this](QLineEdit* edit, int spinId) {
        new StepKeys(
            edit, [this, spinId] { return m_editor != nullptr && m_editor->IsVisible(spinId); },
            [this, spinId](int delta) {
                m_editor->StepSpin(spinId, delta);
                emit Edited();
            });
    };
    stepper(m_valueEdit, control::kValueSpin);
    stepper(m_chanceEdit, control::kChanceSpin);

    // Enter applies in the controls that do not take it themselves; the edits pass undo and redo
    // on to the file's history when they hold nothing to undo of their own.
    for (QWidget* widget : std::initializer_list<QWidget*>{
             m_checkBox, m_percentSlider, m_percentSpin, m_multiList, m_versesSliders[0], m_versesSliders[1],
             m_versesSliders[2], m_versesSliders[3], m_versesSliders[4], m_versesEdits[0], m_versesEdits[1],
             m_versesEdits[2], m_versesEdits[3], m_versesEdits[4]})
        widget->installEventFilter(this);
    for (QLineEdit* edit :
         {m_valueEdit, m_chanceEdit, m_optionEdit, m_listCombo->lineEdit(), m_animationCombo->lineEdit()})
        edit->installEventFilter(this);

    for (QLineEdit* edit : {m_valueEdit, m_chanceEdit, m_optionEdit, m_versesEdits[0], m_versesEdits[1],
                            m_versesEdits[2], m_versesEdits[3], m_versesEdits[4]})
        connect(edit, &QLineEdit::textChanged, this, &EditorPanel::Edited);
    // Checked once the edit's signals are through, never in the middle of filling the controls.
    m_problemCheck.setSingleShot(true);
    m_problemCheck.setInterval(0);
    connect(&m_problemCheck, &QTimer::timeout, this, &EditorPanel::ShowTypedProblem);
    connect(this, &EditorPanel::Edited, &m_problemCheck, qOverload<>(&QTimer::start));
    for (QComboBox* combo : {m_listCombo, m_animationCombo})
        connect(combo, &QComboBox::currentTextChanged, this, &EditorPanel::Edited);
    connect(m_checkBox, &QCheckBox::toggled, this, &EditorPanel::Edited);
    connect(m_multiList, &QListWidget::itemSelectionChanged, this, &EditorPanel::Edited);
    connect(m_percentSlider, &QSlider::valueChanged, this, &EditorPanel::Edited);
    for (QSlider* slider : m_versesSliders) connect(slider, &QSlider::valueChanged, this, &EditorPanel::Edited);
}

bool EditorPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && qobject_cast<QLineEdit*>(watched) != nullptr) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool history = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                             key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z) ||
                             key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
        // Unaccepted, the key goes on to the window's Undo or Redo.
        if (history && !HasPendingEdit()) {
            event->ignore();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress || qobject_cast<QLineEdit*>(watched) == m_valueEdit)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!enter || (edit != nullptr &&
                   std::find(std::begin(m_versesEdits), std::end(m_versesEdits), edit) == std::end(m_versesEdits)))
        return QWidget::eventFilter(watched, event);
    for (int i = 0; i < 5; ++i)
        if (watched == m_versesEdits[i]) SyncVersesSlider(i);
    if (watched == m_percentSpin) m_percentSpin->interpretText();
    if (m_applyButton->isEnabled()) emit ApplyRequested();
    return true;
}

bool EditorPanel::HasPendingEdit() const {
    return m_editor != nullptr && m_editor->m_hCurItem != kNoItem && m_editor->HasPendingEdit();
}

void EditorPanel::SyncVersesSlider(int column) {
    QString text = m_versesEdits[column]->text().trimmed();
    if (text.endsWith(QLatin1Char('%'))) text.chop(1);
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    QSlider* slider = m_versesSliders[column];
    // A number the slider cannot show stays as typed; Apply writes it as it is.
    if (number && value >= slider->minimum() && value <= slider->maximum() && value != slider->value())
        slider->setValue(value);
}

bool EditorPanel::FocusValue() {
    for (QWidget* widget : std::initializer_list<QWidget*>{m_checkBox, m_valueEdit, m_listCombo, m_percentSpin,
                                                           m_versesSliders[0], m_chanceEdit, m_multiList}) {
        if (widget->isVisibleTo(this)) {
            widget->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

void EditorPanel::Register(int controlId, QWidget* widget) {
    widget->setObjectName(QStringLiteral("control%1").arg(controlId));
    m_controls[controlId] = widget;
}

QWidget* EditorPanel::Control(int controlId) const {
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

// Apply and Default stand beside the value while the panel has the room, else beneath it, so
// that the panel never needs to scroll sideways.
void EditorPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceButtons();
}

void EditorPanel::PlaceButtons() {
    const int buttons = std::max(m_applyButton->sizeHint().width(), m_defaultButton->sizeHint().width());
    const int values = m_valueRow->itemAt(0)->minimumSize().width();
    const auto margins = layout()->contentsMargins();
    const bool beside = width() - margins.left() - margins.right() >= values + m_valueRow->spacing() + buttons;
    m_valueRow->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    m_buttons->setDirection(beside ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

void EditorPanel::ShowPending(bool pending) {
    QFont font = m_applyButton->font();
    font.setBold(pending);
    m_applyButton->setFont(font);
}

void EditorPanel::AddBelowGameReads(QWidget* widget) {
    auto* column = static_cast<QVBoxLayout*>(layout());
    // The line may sit in a row of its own within the column.
    int at = column->count();
    for (int i = 0; i < column->count(); ++i) {
        QLayoutItem* item = column->itemAt(i);
        if (item->widget() == m_gameReadsText ||
            (item->layout() != nullptr && item->layout()->indexOf(m_gameReadsText) >= 0))
            at = i + 1;
    }
    column->insertWidget(at, widget);
}

void EditorPanel::ShowGameReads() {
    if (m_editor != nullptr) m_gameReadsText->setText(GameReadsText(*m_editor, true));
}

// The editor's line was read when the key was shown or written; after a check of the file (an
// outside change, say) the check's reading is the newer one, also while an edit is pending.
QString EditorPanel::GameReadsText(const ValueEditor& editor, bool afterCheck) const {
    const GamePlaysLine played = m_gamePlays ? m_gamePlays(editor.m_hCurItem) : GamePlaysLine{};
    const QString& plays = played.text;
    const auto fresh = afterCheck && m_gameReads ? m_gameReads(editor.m_hCurItem) : std::nullopt;
    // A key the file leaves to another of the game's files is not played at its built-in value.
    const QString reads = !plays.isEmpty() && played.notInFile ? QStringLiteral("Not in the file.")
                          : fresh                              ? *fresh
                                                               : ToQt(editor.m_strGameReads);
    return reads + (plays.isEmpty() ? QString() : QLatin1Char('\n') + plays);
}

void EditorPanel::ShowFacts(const KeyFacts& facts) {
    m_shownFacts = facts;
    m_rangeText->setText(facts.range);
    m_unitText->setText(facts.unit);
    m_rangeCaption->setVisible(!facts.range.isEmpty());
    m_rangeText->setVisible(!facts.range.isEmpty());
    m_unitCaption->setVisible(!facts.unit.isEmpty());
    m_unitText->setVisible(!facts.unit.isEmpty());
    // A value just shown comes from the file; only an edit is checked.
    m_problemCheck.stop();
    ShowProblem(QString());
}

QString EditorPanel::TypedProblem() const {
    if (m_editor == nullptr || m_editor->m_hCurItem == kNoItem) return {};
    return ToQt(m_editor->InputProblem());
}

// A value that does not fit the key is marked, with the reason beneath; Apply asks before it
// writes one.
void EditorPanel::ShowTypedProblem() { ShowProblem(TypedProblem()); }

void EditorPanel::ShowProblem(const QString& problem) {
    const bool typedInField = m_valueEdit->isVisibleTo(this);
    m_problemText->setText(problem.isEmpty() ? QString()
                           : typedInField
                               ? QStringLiteral("\u201c%1\u201d is %2.").arg(m_valueEdit->text().trimmed(), problem)
                               : QStringLiteral("The value is %1.").arg(problem));
    m_problemText->setVisible(!problem.isEmpty());
    QPalette palette = m_valueEdit->palette();
    palette.setColor(QPalette::Base,
                     problem.isEmpty() || !typedInField ? QPalette().color(QPalette::Base) : QColor(0xfd, 0xe4, 0xe4));
    m_valueEdit->setPalette(palette);
    m_valueEdit->setAccessibleDescription(problem.isEmpty() ? QString() : QStringLiteral("Invalid: ") + problem);
}

void EditorPanel::DoDataExchange(bool saveAndValidate) {
    if (m_editor == nullptr) return;
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
    QString title = ToQt(editor.m_strPath).trimmed();
    if (title.endsWith(QLatin1Char('\\'))) title.chop(1);
    m_titleText->setText(title.mid(title.lastIndexOf(QLatin1Char('\\')) + 1).trimmed());
    m_helpText->setText(ToQt(editor.m_strHelp));
    m_defaultText->setText(ToQt(editor.m_strDefault));
    m_gameReadsText->setText(GameReadsText(editor, false));
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
        if (id == control::kPathText || id == control::kDefaultText || id == control::kHelpText ||
            id == control::kApplyButton || id == control::kDefaultButton)
            continue;
        widget->setVisible(editor.IsVisible(id));
    }
    const bool picture = editor.m_nIconId != 0 && editor.IsVisible(editor.m_nIconId);
    if (picture) m_picture->setPixmap(art::ObjectPicture(static_cast<std::uint16_t>(editor.m_nIconId)));
    m_picture->setVisible(picture);
    m_percentSpin->setRange(m_percentSlider->minimum(), m_percentSlider->maximum());
    m_percentSpin->setValue(m_percentSlider->value());
    m_percentSpin->setVisible(editor.IsVisible(control::kPercentSlider));
    m_applyButton->setEnabled(editor.m_bApplyEnabled);
    m_defaultButton->setEnabled(editor.m_bDefaultEnabled);
    // A list of several entries takes the height the panel has; other values leave it to the help.
    if (auto* column = qobject_cast<QVBoxLayout*>(layout()))
        column->setStretchFactor(m_valueRow, editor.IsVisible(control::kMultiList) ? 1 : 0);
    PlaceButtons();
    ShowFacts(m_facts && editor.m_hCurItem != kNoItem ? m_facts(editor.m_hCurItem) : KeyFacts{});
    emit Shown();
}

}  // namespace morvane::app
