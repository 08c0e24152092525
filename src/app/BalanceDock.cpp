#include "app/BalanceDock.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>
#include <set>

#include "gamesetup/GameLayerFiles.h"
#include "guicommon/FileNames.h"
#include "guicommon/Latin1.h"
#include "guicommon/UserPrompts.h"
#include "platform/FileAccess.h"
#include "schema/ObjectLabels.h"

using morvane::guicommon::FromQt;
using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;
using morvane::guicommon::ToQt;
using morvane::guicommon::UserPrompts;

namespace morvane::app {
namespace {

const QString kCaption = QStringLiteral("Table");

QSettings Store() { return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane")); }
QString ColumnsSetting(const QString& group) { return QStringLiteral("Table/") + group + QStringLiteral("/Columns"); }

QString CsvField(const QString& text) { return ToQt(gameview::CsvField(FromQt(text))); }

// Cells edited with the controls their kind calls for: a list of names for names and
// yes/no, a line of text otherwise. An edit with several rows of its column selected sets them
// all in one write.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(BalanceDock& dock) : QStyledItemDelegate(&dock), m_dock(dock) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        const QStringList choices = m_dock.Model()->Choices(m_dock.Proxy()->mapToSource(index).column());
        if (choices.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
        auto* box = new QComboBox(parent);
        box->addItems(choices);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            const int at = box->findText(index.data(Qt::EditRole).toString(), Qt::MatchFixedString);
            box->setCurrentIndex(std::max(at, 0));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        const QString value = qobject_cast<QComboBox*>(editor) != nullptr
                                  ? static_cast<QComboBox*>(editor)->currentText()
                                  : editor->property("text").toString();
        // Leaving a cell as it was writes nothing (the file keeps its own spelling), and neither
        // does an editor closed because the window goes.
        if (!m_dock.isVisible() || value == index.data(Qt::EditRole).toString()) return;
        const QModelIndex source = m_dock.Proxy()->mapToSource(index);
        std::set<int> rows{source.row()};
        for (const QModelIndex& selected : m_dock.View()->selectionModel()->selectedIndexes())
            if (selected.column() == index.column()) rows.insert(m_dock.Proxy()->mapToSource(selected).row());
        // The table is read again once the editor has closed.
        if (m_dock.Model()->WriteCells(std::vector<int>(rows.begin(), rows.end()), source.column(), value))
            QMetaObject::invokeMethod(
                &m_dock, [dock = &m_dock] { dock->Refresh(); }, Qt::QueuedConnection);
    }

private:
    BalanceDock& m_dock;
};

}  // namespace

BalanceDock::BalanceDock(const StringTable& catalogue, UserPrompts& prompts, std::function<std::string()> rulesPath,
                         BalanceTableModel::Writer writer, QWidget* parent)
    : QDockWidget(QStringLiteral("Table"), parent),
      m_catalogue(catalogue),
      m_prompts(prompts),
      m_rulesPath(std::move(rulesPath)),
      m_model(new BalanceTableModel(ObjectLabels(catalogue), std::move(writer), this)),
      m_proxy(new QSortFilterProxyModel(this)) {
    setObjectName(QStringLiteral("tableDock"));
}

QSortFilterProxyModel* BalanceDock::Proxy() const {
    EnsureBody();
    return m_proxy;
}
QTableView* BalanceDock::View() const {
    EnsureBody();
    return m_view;
}
QComboBox* BalanceDock::GroupBox() const {
    EnsureBody();
    return m_group;
}
QLineEdit* BalanceDock::FilterEdit() const {
    EnsureBody();
    return m_filter;
}

void BalanceDock::EnsureBody() const {
    if (m_view == nullptr) const_cast<BalanceDock*>(this)->BuildBody();
}

void BalanceDock::BuildBody() {
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);

    auto* top = new QHBoxLayout;
    m_group = new QComboBox(body);
    m_group->setObjectName(QStringLiteral("tableGroup"));
    for (const gameview::TableGroup& group : gameview::TableGroups()) m_group->addItem(QString::fromLatin1(group.name));
    m_mode = new QComboBox(body);
    m_mode->setObjectName(QStringLiteral("tableMode"));
    m_mode->addItems({QStringLiteral("campaign"), QStringLiteral("skirmish"), QStringLiteral("multiplayer")});
    m_mode->setToolTip(QStringLiteral("Outside campaigns the game sets England's Armor and France's ROF to 0.9"));
    m_columns = new QToolButton(body);
    m_columns->setText(QStringLiteral("Columns"));
    m_columns->setPopupMode(QToolButton::InstantPopup);
    m_columns->setMenu(new QMenu(m_columns));
    top->addWidget(new QLabel(QStringLiteral("&Group:"), body));
    top->addWidget(m_group);
    top->addWidget(m_mode);
    top->addWidget(m_columns);
    top->addStretch(1);
    static_cast<QLabel*>(top->itemAt(0)->widget())->setBuddy(m_group);
    layout->addLayout(top);

    auto* filterRow = new QHBoxLayout;
    m_filterColumn = new QComboBox(body);
    m_filter = new QLineEdit(body);
    m_filter->setObjectName(QStringLiteral("tableFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    filterRow->addWidget(m_filterColumn);
    filterRow->addWidget(m_filter, 1);
    layout->addLayout(filterRow);

    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(BalanceTableModel::kSortRole);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_view = new QTableView(body);
    m_view->setObjectName(QStringLiteral("tableView"));
    m_view->setModel(m_proxy);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(-1, Qt::AscendingOrder);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_view->setItemDelegate(new CellDelegate(*this));
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    layout->addWidget(m_view, 1);

    auto* bottom = new QHBoxLayout;
    const auto button = [&](const char* text, const char* name, auto slot) {
        auto* pushButton = new QPushButton(QString::fromLatin1(text), body);
        pushButton->setObjectName(QString::fromLatin1(name));
        connect(pushButton, &QPushButton::clicked, this, slot);
        bottom->addWidget(pushButton);
    };
    button("&Copy", "tableCopy", [this] { CopySelection(); });
    button("&Export CSV...", "tableExport", [this] { ExportCsv(); });
    button("&Damage Chart...", "tableDamageChart", [this] {
        if (auto dialog = DamageChartDialog()) m_prompts.Exec(*dialog);
    });
    button("&Time to Kill...", "tableHeatMap", [this] {
        if (auto dialog = HeatMapDialog()) m_prompts.Exec(*dialog);
    });
    bottom->addStretch(1);
    auto* leftOut = new QLabel(QStringLiteral("Fights at point blank; ") + QString::fromLatin1(gameview::kLeftOut) +
                                   QStringLiteral(" left out."),
                               body);
    leftOut->setWordWrap(true);
    leftOut->setObjectName(QStringLiteral("tableLeftOut"));
    layout->addLayout(bottom);
    layout->addWidget(leftOut);
    setWidget(body);

    auto* copy = new QShortcut(QKeySequence::Copy, m_view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, [this] { CopySelection(); });
    connect(m_group, &QComboBox::currentTextChanged, this, [this](const QString& group) { ShowGroup(group); });
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(m_filterColumn, &QComboBox::currentIndexChanged, this,
            [this](int column) { m_proxy->setFilterKeyColumn(column); });
    connect(m_filter, &QLineEdit::textChanged, m_proxy, &QSortFilterProxyModel::setFilterFixedString);

    const QString remembered = Store().value(QStringLiteral("Table/Group")).toString();
    m_group->setCurrentIndex(std::max(0, m_group->findText(remembered)));
}

gameview::LayerStack BalanceDock::Layers() const {
    EnsureBody();
    // The files the game reads on top of the rules file, found beside it as the command line
    // finds them; when one cannot be read, the rules file alone.
    gamesetup::LayerChoice choice;
    choice.rules = m_rulesPath();
    choice.mode = m_mode->currentIndex() == 1   ? gameview::GameMode::Skirmish
                  : m_mode->currentIndex() == 2 ? gameview::GameMode::Multiplayer
                                                : gameview::GameMode::Campaign;
    auto loaded = gamesetup::LoadLayers(choice);
    if (loaded.index() == 0) return std::move(std::get<0>(loaded).stack);
    gameview::LayerStack alone;
    alone.SetMode(choice.mode);
    alone.SetFile(gameview::Layer::Rules, choice.rules, platform::ReadFileBytes(choice.rules).value_or(""));
    return alone;
}

QStringList BalanceDock::Columns() const {
    QStringList keys;
    for (const std::string& key : m_model->Keys()) keys << ToQt(key);
    return keys;
}

void BalanceDock::Refresh() {
    EnsureBody();
    const gameview::TableGroup* group = gameview::FindTableGroup(FromQt(m_group->currentText()));
    if (group == nullptr) return;
    QStringList keys = Store().value(ColumnsSetting(m_group->currentText())).toStringList();
    std::vector<std::string> wanted;
    for (const QString& key : keys) wanted.push_back(FromQt(key));
    if (wanted.empty()) wanted.assign(group->defaultKeys.begin(), group->defaultKeys.end());
    // Keep only the keys the game reads for the group (a setting may be old).
    const std::vector<std::string> all = gameview::AllKeys(gameview::GameKeys::BuiltIn(), *group);
    std::erase_if(wanted, [&](const std::string& key) { return std::find(all.begin(), all.end(), key) == all.end(); });
    const int filterColumn = m_filterColumn->currentIndex();
    m_model->Show(*group, wanted, Layers());

    const QSignalBlocker blocker(m_filterColumn);
    m_filterColumn->clear();
    m_filterColumn->addItem(QStringLiteral("Any column"));
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_filterColumn->addItem(m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    const int keep = filterColumn > 0 && filterColumn < m_filterColumn->count() ? filterColumn : 0;
    m_filterColumn->setCurrentIndex(keep);
    m_proxy->setFilterKeyColumn(keep - 1);
    BuildColumnsMenu();
}

void BalanceDock::ShowGroup(const QString& group) {
    EnsureBody();
    if (m_group->currentText() != group) {
        m_group->setCurrentIndex(m_group->findText(group));  // comes back here through the signal
        return;
    }
    Store().setValue(QStringLiteral("Table/Group"), group);
    Refresh();
}

void BalanceDock::SetColumns(const QStringList& keys) {
    EnsureBody();
    Store().setValue(ColumnsSetting(m_group->currentText()), keys);
    Refresh();
}

void BalanceDock::BuildColumnsMenu() {
    QMenu* menu = m_columns->menu();
    menu->clear();
    const gameview::TableGroup* group = m_model->Group();
    if (group == nullptr) return;
    const QStringList shown = Columns();
    for (const std::string& key : gameview::AllKeys(gameview::GameKeys::BuiltIn(), *group)) {
        QAction* action = menu->addAction(ToQt(key));
        action->setCheckable(true);
        action->setChecked(shown.contains(ToQt(key)));
        connect(action, &QAction::toggled, this, [this, name = ToQt(key)](bool on) {
            QStringList keys = Columns();
            if (on && !keys.contains(name)) keys << name;
            if (!on) keys.removeAll(name);
            SetColumns(keys);
        });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Usual Columns")), &QAction::triggered, this, [this] {
        Store().remove(ColumnsSetting(m_group->currentText()));
        Refresh();
    });
}

QString BalanceDock::SelectionText() const {
    EnsureBody();
    std::map<int, std::map<int, QString>> cells;  // view row -> view column -> text
    for (const QModelIndex& index : m_view->selectionModel()->selectedIndexes())
        cells[index.row()][m_view->horizontalHeader()->visualIndex(index.column())] = index.data().toString();
    std::set<int> columns;
    for (const auto& [row, line] : cells)
        for (const auto& [column, text] : line) columns.insert(column);
    QString text;
    for (const auto& [row, line] : cells) {
        QStringList fields;
        for (const int column : columns) fields << (line.count(column) ? line.at(column) : QString());
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

QString BalanceDock::CsvText() const {
    EnsureBody();
    QStringList header;
    for (int column = 0; column < m_proxy->columnCount(); ++column)
        header << CsvField(m_proxy->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    QString text = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        QStringList fields;
        for (int column = 0; column < m_proxy->columnCount(); ++column)
            fields << CsvField(m_proxy->index(row, column).data().toString());
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

void BalanceDock::CopySelection() const { QApplication::clipboard()->setText(SelectionText()); }

void BalanceDock::ExportCsv() {
    EnsureBody();
    QString path = m_prompts.ChooseSaveFile(this, QStringLiteral("Export Table"), m_group->currentText() + ".csv",
                                            QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    if (const int error = platform::ReplaceFileAtomically(PathFromQt(path), FromQt(CsvText())))
        m_prompts.ShowMessage(this,
                              QStringLiteral("Could not write %1\n\n%2\nThe table was not exported; choose another "
                                             "name or folder and export again.")
                                  .arg(path, PathToQt(platform::DescribeFileError(error, PathFromQt(path)))),
                              kCaption);
}

std::unique_ptr<BalancePictureDlg> BalanceDock::DamageChartDialog() {
    EnsureBody();
    const gameview::LayerStack layers = Layers();
    const gameview::LayerStackPlay play(layers);
    const gameview::PlayedValues values(gameview::GameKeys::BuiltIn(), play);
    // The weapon of the current row: the row itself in the weapons, else its first weapon.
    const QModelIndex current = m_proxy->mapToSource(m_view->currentIndex());
    const int row = current.isValid() ? current.row() : 0;
    if (m_model->rowCount() == 0) return nullptr;
    const std::string section = m_model->SectionAt(row);
    std::optional<gameview::WeaponStats> weapon = values.Weapon(section);
    if (!weapon) {
        const gameview::FighterStats fighter = values.Fighter(section);
        weapon = fighter.primary ? fighter.primary : fighter.secondary;
    }
    if (!weapon) {
        m_prompts.ShowMessage(this,
                              ToQt(section + " has no weapon.\n\nIt has neither a Primary nor a Secondary weapon the "
                                             "game knows, so there is nothing to chart. Choose the row of a weapon, or "
                                             "of a unit or building that carries one."),
                              kCaption);
        return nullptr;
    }
    return std::make_unique<BalancePictureDlg>(
        QStringLiteral("Damage Chart"), gameview::DamageChart(weapon->name, gameview::DamagePerMinute(values, *weapon)),
        m_prompts, this);
}

std::unique_ptr<BalancePictureDlg> BalanceDock::HeatMapDialog() {
    EnsureBody();
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    auto layers = std::make_shared<gameview::LayerStack>(Layers());
    auto play = std::make_shared<gameview::LayerStackPlay>(*layers);
    auto values = std::make_shared<gameview::PlayedValues>(keys, *play);
    // Rows: the objects shown that carry a weapon; columns: the objects of a group that can die.
    const auto fighters = [&keys](const gameview::TableGroup& group) {
        const gameview::SectionKind* kind = keys.Kind(group.kind);
        return kind == nullptr ? std::vector<std::string>() : kind->sections;
    };
    const gameview::TableGroup* shown = m_model->Group();
    const bool canFight = shown != nullptr && std::string(shown->kind) != "weapon" &&
                          std::string(shown->kind) != "projectile" && std::string(shown->kind) != "warhead";
    const gameview::TableGroup& attackersGroup = canFight ? *shown : *gameview::FindTableGroup("vehicles");
    std::vector<std::string> attackers;
    for (const std::string& section : fighters(attackersGroup)) {
        const gameview::FighterStats stats = values->Fighter(section);
        if (stats.primary || stats.secondary) attackers.push_back(section);
    }
    QStringList targetGroups;
    std::vector<const gameview::TableGroup*> groups;
    for (const gameview::TableGroup& group : gameview::TableGroups()) {
        const std::string kind = group.kind;
        if (kind == "weapon" || kind == "projectile" || kind == "warhead") continue;
        targetGroups << QString::fromLatin1(group.name);
        groups.push_back(&group);
    }
    auto remake = [values, layers, play, attackers, groups, fighters](int index) {
        std::vector<std::string> targets;
        for (const std::string& section : fighters(*groups[static_cast<std::size_t>(index)]))
            if (values->Fighter(section).strength > 0) targets.push_back(section);
        return gameview::HeatMap(gameview::SecondsToKill(*values, attackers, targets, {}, {}));
    };
    const int first = std::max(0, static_cast<int>(targetGroups.indexOf(QString::fromLatin1(attackersGroup.name))));
    auto dialog = std::make_unique<BalancePictureDlg>(QStringLiteral("Time to Kill"), remake(first), m_prompts, this);
    dialog->SetChoices(QStringLiteral("Targets:"), targetGroups, first, remake);
    return dialog;
}

void BalanceDock::setVisible(bool visible) {
    if (visible) EnsureBody();
    QDockWidget::setVisible(visible);
}

void BalanceDock::showEvent(QShowEvent* event) {
    EnsureBody();
    QDockWidget::showEvent(event);
    Refresh();
}

}  // namespace morvane::app
