#include "app/GameLayersMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QSignalBlocker>

#include "guicommon/FileNames.h"

using morvane::guicommon::PathFromQt;
using morvane::guicommon::PathToQt;

namespace morvane::app {
namespace {

constexpr gameview::GameMode kModes[] = {gameview::GameMode::Campaign, gameview::GameMode::Skirmish,
                                         gameview::GameMode::Multiplayer};
const char* const kModeTexts[] = {"&Campaign", "&Skirmish", "&Multiplayer"};

// The menu's choices are kept per user beside the program's other settings.
QSettings Store() { return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane")); }
const QString kModeKey = QStringLiteral("Game/Mode");
const QString kAftermathKey = QStringLiteral("Game/Aftermath");
const QString kMplayerKey = QStringLiteral("Game/Mplayer");
const QString kScenarioKey = QStringLiteral("Game/Scenario");

}  // namespace

GameLayersMenu::GameLayersMenu(QMenu* menu, QWidget* dialogParent) : QObject(menu), m_dialogParent(dialogParent) {
    m_modes = new QActionGroup(this);
    for (std::size_t i = 0; i < std::size(kModes); ++i) {
        QAction* action = menu->addAction(QString::fromLatin1(kModeTexts[i]));
        action->setCheckable(true);
        action->setData(static_cast<int>(kModes[i]));
        action->setChecked(i == 0);
        m_modes->addAction(action);
    }
    connect(m_modes, &QActionGroup::triggered, this, &GameLayersMenu::Changed);
    menu->addSeparator();
    m_aftermath = menu->addAction(QString());
    m_mplayer = menu->addAction(QString());
    for (QAction* action : {m_aftermath, m_mplayer}) {
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, this, &GameLayersMenu::Changed);
    }
    menu->addSeparator();
    m_scenario = menu->addAction(QString::fromUtf8("Sc&enario\u2026"));
    connect(m_scenario, &QAction::triggered, this, &GameLayersMenu::ChooseScenario);
    m_noScenario = menu->addAction(QStringLiteral("&No Scenario"));
    m_noScenario->setEnabled(false);
    connect(m_noScenario, &QAction::triggered, this, [this] { SetScenario(std::string()); });
    ShowFilesBeside(std::string());
    Restore();
    connect(this, &GameLayersMenu::Changed, this, &GameLayersMenu::Keep);
}

void GameLayersMenu::Restore() {
    const QSettings store = Store();
    const QSignalBlocker quiet(this);
    const int mode = store.value(kModeKey, static_cast<int>(gameview::GameMode::Campaign)).toInt();
    for (QAction* action : m_modes->actions())
        if (action->data().toInt() == mode) action->setChecked(true);
    m_aftermath->setChecked(store.value(kAftermathKey, true).toBool());
    m_mplayer->setChecked(store.value(kMplayerKey, true).toBool());
    // A scenario that is gone since is not brought back.
    const QString scenario = store.value(kScenarioKey).toString();
    SetScenario(QFileInfo::exists(scenario) ? PathFromQt(scenario) : std::string());
}

void GameLayersMenu::Keep() const {
    QSettings store = Store();
    store.setValue(kModeKey, m_modes->checkedAction()->data().toInt());
    store.setValue(kAftermathKey, m_aftermath->isChecked());
    store.setValue(kMplayerKey, m_mplayer->isChecked());
    store.setValue(kScenarioKey, PathToQt(m_scenarioPath));
}

gamesetup::LayerChoice GameLayersMenu::Choice(const std::string& rulesPath) const {
    using Kind = gamesetup::LayerSource::Kind;
    gamesetup::LayerChoice choice;
    choice.rules = rulesPath;
    choice.mode = static_cast<gameview::GameMode>(m_modes->checkedAction()->data().toInt());
    choice.aftermath.kind = m_aftermath->isChecked() ? Kind::Beside : Kind::Off;
    choice.mplayer.kind = m_mplayer->isChecked() ? Kind::Beside : Kind::Off;
    choice.scenario = m_scenarioPath;
    return choice;
}

QString GameLayersMenu::ShowFilesBeside(const std::string& rulesPath) {
    QString found;
    // `key`: the letter of the name that reaches the entry (one no other entry of the menu has).
    const auto show = [&](QAction* action, std::string_view name, qsizetype key) {
        const auto path = rulesPath.empty() ? std::nullopt : gamesetup::FindBesideRules(rulesPath, name);
        const QString label =
            QString::fromLatin1(name.data(), static_cast<int>(name.size())).insert(key, QLatin1Char('&'));
        // An ampersand in a path is shown, not taken for a mnemonic.
        const QString shown = path ? PathToQt(*path).replace(QLatin1Char('&'), QStringLiteral("&&")) : QString();
        action->setText(path ? label + QStringLiteral(" (") + shown + QLatin1Char(')')
                             : label + QStringLiteral(" (none beside the rules file)"));
        if (path) found += (found.isEmpty() ? QString() : QStringLiteral(" and ")) + PathToQt(*path);
    };
    show(m_aftermath, gamesetup::kAftermathFileName, 0);
    show(m_mplayer, gamesetup::kMplayerFileName, 1);
    return found.isEmpty() ? QString() : QStringLiteral("The game also reads ") + found + QLatin1Char('.');
}

void GameLayersMenu::SetMode(gameview::GameMode mode) {
    for (QAction* action : m_modes->actions())
        if (action->data().toInt() == static_cast<int>(mode)) action->setChecked(true);
    emit Changed();
}

void GameLayersMenu::SetScenario(const std::string& path) {
    m_scenarioPath = path;
    m_scenario->setText(path.empty() ? QString::fromUtf8("Sc&enario\u2026")
                                     : QStringLiteral("Sc&enario: ") + PathToQt(path) + QChar(0x2026));
    m_noScenario->setEnabled(!path.empty());
    emit Changed();
}

void GameLayersMenu::ChooseScenario() {
    const QString chosen =
        QFileDialog::getOpenFileName(m_dialogParent, QStringLiteral("Scenario"), QString(),
                                     QStringLiteral("Scenarios and maps (*.ini *.INI *.mpr *.MPR);;All files (*)"));
    if (!chosen.isEmpty()) SetScenario(PathFromQt(chosen));
}

}  // namespace morvane::app
