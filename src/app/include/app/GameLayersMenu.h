#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "gamesetup/GameLayerFiles.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace morvane::app {

// The Game menu: the kind of game, and the files the game reads on top of the rules file, each
// on or off. AFTRMATH.INI and MPLAYER.INI are found beside the rules file; a scenario is chosen.
class GameLayersMenu : public QObject {
    Q_OBJECT
public:
    GameLayersMenu(QMenu* menu, QWidget* dialogParent);

    // The layers for the rules file at `rulesPath`, as the menu stands.
    gamesetup::LayerChoice Choice(const std::string& rulesPath) const;
    // Shows which layer files are found beside the rules file; returns a sentence for the
    // status bar naming them (empty when there are none).
    QString ShowFilesBeside(const std::string& rulesPath);

    // For tests: choose the mode, switch a layer, name the scenario.
    void SetMode(gameview::GameMode mode);
    void SetScenario(const std::string& path);
    QAction* AftermathAction() const { return m_aftermath; }
    QAction* MplayerAction() const { return m_mplayer; }

signals:
    // The mode or a layer changed: what the game plays may differ now.
    void Changed();

private:
    void ChooseScenario();
    // The choices of the last session, and keeping them for the next.
    void Restore();
    void Keep() const;

    QWidget* m_dialogParent;
    QActionGroup* m_modes = nullptr;
    QAction* m_aftermath = nullptr;
    QAction* m_mplayer = nullptr;
    QAction* m_scenario = nullptr;
    QAction* m_noScenario = nullptr;
    std::string m_scenarioPath;
};

}  // namespace morvane::app
