// The widgets of the main window: created once, laid out, connected to the handlers.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/CMainDlg.h"
#include "app/MenuCommands.h"
#include "app/RulesTreeModel.h"
#include "app/UpDownButtons.h"
#include "editor/ControlIds.h"
#include "guicommon/Latin1.h"

namespace morvane::app {
namespace {

// The window's size in dialog units; one unit is a quarter of the average character width
// across and an eighth of the character height down.
constexpr int kWidthUnits = 372;
constexpr int kHeightUnits = 260;

QSlider* MakeSlider(Qt::Orientation orientation, QWidget* parent) {
    auto* slider = new QSlider(orientation, parent);
    slider->setRange(0, 100);
    slider->setPageStep(10);
    slider->setTickInterval(10);
    slider->setTickPosition(orientation == Qt::Horizontal ? QSlider::TicksBelow : QSlider::TicksRight);
    // 0 at the top, 100 at the bottom.
    if (orientation == Qt::Vertical) slider->setInvertedAppearance(true);
    return slider;
}

}  // namespace

void CMainDlg::Register(int controlId, QWidget* widget) {
    widget->setObjectName(QStringLiteral("control%1").arg(controlId));
    m_controls[controlId] = widget;
}

QWidget* CMainDlg::Control(int controlId) const {
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

QAction* CMainDlg::Command(int commandId) const {
    const auto found = m_commands.find(commandId);
    return found == m_commands.end() ? nullptr : found->second;
}

void CMainDlg::BuildWidgets() {
    setWindowTitle(QStringLiteral("Morvane"));
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    BuildMenu();
    statusBar()->setSizeGripEnabled(true);

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    m_splitter = splitter;
    splitter->setChildrenCollapsible(false);
    m_treeView = new QTreeView(splitter);
    m_treeView->setModel(m_model);
    m_treeView->header()->hide();
    m_treeView->setUniformRowHeights(true);
    m_treeView->setRootIsDecorated(true);
    m_treeView->setDragEnabled(false);
    m_treeView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Register(control::kTree, m_treeView);
    connect(m_treeView->selectionModel(), &QItemSelectionModel::currentChanged, this, &CMainDlg::OnTreeCurrentChanged);

    splitter->addWidget(m_treeView);
    // On a small screen (or a large scale factor) the editor scrolls instead of being cut off.
    auto* scroll = new QScrollArea(splitter);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(BuildEditorPanel());
    splitter->addWidget(scroll);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    layout->addWidget(splitter, 1);

    auto* buttons = new QHBoxLayout;
    m_applyButton = new QPushButton(QStringLiteral("&Apply"), central);
    m_defaultButton = new QPushButton(QStringLiteral("&Default"), central);
    auto* ok = new QPushButton(QStringLiteral("OK"), central);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), central);
    Register(control::kApplyButton, m_applyButton);
    Register(control::kDefaultButton, m_defaultButton);
    Register(1, ok);
    Register(2, cancel);
    // Enter on a focused OK presses it; outside a dialog that needs saying.
    ok->setAutoDefault(true);
    m_applyButton->setEnabled(false);
    m_defaultButton->setEnabled(false);
    for (QPushButton* button : {m_applyButton, m_defaultButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    cancel->setAutoDefault(false);
    layout->addLayout(buttons);
    connect(m_applyButton, &QPushButton::clicked, this, &CMainDlg::OnApply);
    connect(m_defaultButton, &QPushButton::clicked, this, &CMainDlg::OnDefault);
    connect(ok, &QPushButton::clicked, this, &CMainDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMainDlg::reject);

    const QFontMetrics metrics(font());
    const int charWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52;
    // The menu, the status bar and the frame come on top of the dialog units' area; the whole
    // window must still fit the screen's free area.
    QSize size(kWidthUnits * charWidth / 4, kHeightUnits * metrics.height() / 8 + 60);
    if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size() - QSize(16, 40));
    resize(size);
    splitter->setSizes({size.width() * 11 / 20, size.width() * 9 / 20});
    WatchValueFields();
}

QWidget* CMainDlg::BuildEditorPanel() {
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 0, 0, 0);

    auto* top = new QHBoxLayout;
    m_pathText = new QLabel(panel);
    m_pathText->setWordWrap(true);
    m_pathText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Register(control::kPathText, m_pathText);
    m_picture = new QLabel(panel);
    m_picture->setFixedSize(64, 64);
    m_picture->hide();
    top->addWidget(m_pathText, 1, Qt::AlignTop);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    column->addLayout(top);

    // Yes/no and true/false.
    m_checkBox = new QCheckBox(panel);
    Register(control::kCheckBox, m_checkBox);
    column->addWidget(m_checkBox);

    // Integer and real: an edit, and for integers a spin beside it.
    auto* valueRow = new QHBoxLayout;
    m_valueEdit = new QLineEdit(panel);
    Register(control::kValueEdit, m_valueEdit);
    auto* valueSpin = new UpDownButtons(panel);
    Register(control::kValueSpin, valueSpin);
    valueRow->addWidget(m_valueEdit, 1);
    valueRow->addWidget(valueSpin);
    column->addLayout(valueRow);
    connect(valueSpin, &UpDownButtons::Stepped, this,
            [this](int delta) { m_editor->StepSpin(control::kValueSpin, delta); });

    // One entry of a list.
    m_listCombo = new QComboBox(panel);
    m_listCombo->setEditable(true);
    m_listCombo->setInsertPolicy(QComboBox::NoInsert);
    m_listCombo->setMaxVisibleItems(20);
    Register(control::kListCombo, m_listCombo);
    column->addWidget(m_listCombo);

    // Percentage: a slider with its scale and the value beside it.
    auto* percent = new QGridLayout;
    m_percentSlider = MakeSlider(Qt::Horizontal, panel);
    Register(control::kPercentSlider, m_percentSlider);
    percent->addWidget(m_percentSlider, 0, 0, 1, 3);
    const std::tuple<int, const char*, Qt::Alignment> scale[] = {{control::kPercentScale0, "0%", Qt::AlignLeft},
                                                                 {control::kPercentScale50, "50%", Qt::AlignHCenter},
                                                                 {control::kPercentScale100, "100%", Qt::AlignRight}};
    for (int i = 0; i < 3; ++i) {
        const auto& [id, text, alignment] = scale[i];
        auto* label = new QLabel(QString::fromLatin1(text), panel);
        Register(id, label);
        percent->addWidget(label, 1, i, alignment);
    }
    m_percentText = new QLabel(panel);
    m_percentText->setMinimumWidth(40);
    Register(control::kPercentText, m_percentText);
    percent->addWidget(m_percentText, 0, 3);
    column->addLayout(percent);
    connect(m_percentSlider, &QSlider::valueChanged, this, [this] { m_editor->OnHScroll(control::kPercentSlider); });

    // Verses: five vertical sliders, one per armour class.
    auto* verses = new QGridLayout;
    auto* top0 = new QLabel(QStringLiteral("0%"), panel);
    auto* bottom100 = new QLabel(QStringLiteral("100%"), panel);
    Register(control::kVersesScaleTop, top0);
    Register(control::kVersesScaleBottom, bottom100);
    verses->addWidget(top0, 1, 0, Qt::AlignTop | Qt::AlignRight);
    verses->addWidget(bottom100, 1, 0, Qt::AlignBottom | Qt::AlignRight);
    for (int i = 0; i < 5; ++i) {
        const auto& ids = control::kVersesColumns[i];
        auto* caption = new QLabel(QString::fromLatin1(ids.label), panel);
        Register(ids.caption, caption);
        m_versesSliders[i] = MakeSlider(Qt::Vertical, panel);
        m_versesSliders[i]->setMinimumHeight(90);
        Register(ids.slider, m_versesSliders[i]);
        m_versesEdits[i] = new QLineEdit(panel);
        m_versesEdits[i]->setReadOnly(true);
        m_versesEdits[i]->setAlignment(Qt::AlignCenter);
        m_versesEdits[i]->setMaximumWidth(56);
        Register(ids.edit, m_versesEdits[i]);
        verses->addWidget(caption, 0, i + 1, Qt::AlignHCenter);
        verses->addWidget(m_versesSliders[i], 1, i + 1, Qt::AlignHCenter);
        verses->addWidget(m_versesEdits[i], 2, i + 1, Qt::AlignHCenter);
        connect(m_versesSliders[i], &QSlider::valueChanged, this,
                [this, id = ids.slider](int position) { m_editor->OnVScroll(id, position); });
    }
    column->addLayout(verses);

    // Crate powerup: chance, animation and option.
    auto* crate = new QGridLayout;
    auto* chanceCaption = new QLabel(QStringLiteral("Chance"), panel);
    auto* animationCaption = new QLabel(QStringLiteral("Animation"), panel);
    m_optionCaption = new QLabel(QStringLiteral("Option"), panel);
    Register(control::kChanceCaption, chanceCaption);
    Register(control::kAnimationCaption, animationCaption);
    Register(control::kOptionCaption, m_optionCaption);
    m_chanceEdit = new QLineEdit(panel);
    m_chanceEdit->setMaxLength(control::kChanceMaxChars);
    m_chanceEdit->setMaximumWidth(60);
    Register(control::kChanceEdit, m_chanceEdit);
    auto* chanceSpin = new UpDownButtons(panel);
    Register(control::kChanceSpin, chanceSpin);
    connect(chanceSpin, &UpDownButtons::Stepped, this,
            [this](int delta) { m_editor->StepSpin(control::kChanceSpin, delta); });
    m_animationCombo = new QComboBox(panel);
    m_animationCombo->setEditable(true);
    m_animationCombo->setInsertPolicy(QComboBox::NoInsert);
    Register(control::kAnimationCombo, m_animationCombo);
    m_optionEdit = new QLineEdit(panel);
    m_optionEdit->setMaxLength(control::kOptionMaxChars);
    m_optionEdit->setMaximumWidth(80);
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

    // Several entries of a list.
    m_multiList = new QListWidget(panel);
    m_multiList->setSelectionMode(QAbstractItemView::MultiSelection);
    Register(control::kMultiList, m_multiList);
    column->addWidget(m_multiList, 1);

    auto* defaultRow = new QHBoxLayout;
    auto* defaultCaption = new QLabel(QStringLiteral("Default:"), panel);
    Register(control::kDefaultCaption, defaultCaption);
    m_defaultText = new QLabel(panel);
    m_defaultText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Register(control::kDefaultText, m_defaultText);
    defaultRow->addWidget(defaultCaption);
    defaultRow->addWidget(m_defaultText, 1);
    column->addLayout(defaultRow);

    m_helpText = new QLabel(panel);
    m_helpText->setWordWrap(true);
    m_helpText->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_helpText->setFrameShape(QFrame::StyledPanel);
    m_helpText->setMinimumHeight(60);
    m_helpText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Register(control::kHelpText, m_helpText);
    column->addWidget(m_helpText);
    column->addStretch(0);

    for (const auto& [id, widget] : m_controls) {
        const bool alwaysShown =
            id == control::kPathText || id == control::kDefaultText || id == control::kHelpText || id == control::kTree;
        if (!alwaysShown) widget->hide();
    }
    return panel;
}

void CMainDlg::BuildMenu() {
    QMenuBar* bar = menuBar();
    const auto add = [this](QMenu* menu, int id, const char* text, void (CMainDlg::*handler)(),
                            QKeySequence shortcut = {}) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, handler);
        m_commands[id] = action;
    };
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    add(file, command::kFileNew, "&New", &CMainDlg::OnFileNew, QKeySequence::New);
    add(file, command::kFileOpen, "Open", &CMainDlg::OnFileOpen, QKeySequence::Open);
    add(file, command::kFileSaveAs, "Save &As...", &CMainDlg::OnFileSaveAs, QKeySequence::SaveAs);
    m_recentMenu = file->addMenu(QStringLiteral("Recent &Files"));
    file->addSeparator();
    add(file, command::kLaunchGame, "&Launch RA...", &CMainDlg::OnLaunchGame);
    add(file, command::kLaunchWithFile, "Launch RA w/ File...", &CMainDlg::OnLaunchWithFile);
    file->addSeparator();
    add(file, command::kExit, "E&xit", &CMainDlg::OnExit, QKeySequence::Quit);
    m_commands[command::kExit]->setStatusTip(ToQt(m_catalogue.Text(command::kExit)));
    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    BuildHistoryActions(edit);
    add(edit, command::kMatchAll, "&Match All In Section", &CMainDlg::OnMatchAllInSection);
    // A greyed-out Match All says why in its tooltip.
    edit->setToolTipsVisible(true);
    QMenu* options = bar->addMenu(QStringLiteral("&Options"));
    QAction* location = options->addAction(QStringLiteral("&Program Location..."));
    connect(location, &QAction::triggered, this, [this] { OnProgramLocation(); });
    m_commands[command::kProgramLocation] = location;
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    add(help, command::kAbout, "&About", &CMainDlg::OnAbout);
    m_commands[command::kAbout]->setStatusTip(ToQt(m_catalogue.Text(command::kAbout)));
    add(help, command::kSplash, "&Splash", &CMainDlg::OnSplash);
}

}  // namespace morvane::app
