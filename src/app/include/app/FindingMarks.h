#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "gamesetup/GameLayerFiles.h"
#include "gameview/Finding.h"
#include "gameview/GameLayers.h"
#include "rulesfile/RulesFileAccess.h"
#include "tree/ItemFileAccess.h"
#include "tree/Tree.h"

namespace morvane::app {

// A finding of the check and the tree item it belongs to (kNoItem when the tree has none:
// a section the game does not know, say).
struct MarkedFinding {
    gameview::Finding finding;
    TreeItem item = kNoItem;
};

// The check's findings for the open rules file, placed on the tree's items. Refreshes itself
// after every change of the tree (a write changes a label; opening a file rebuilds it): the
// refresh waits for the event loop, so a Match All that writes many keys checks once.
class FindingMarks : public QObject {
    Q_OBJECT
public:
    FindingMarks(const Tree& tree, const ItemFileAccess& items, const RulesFileAccess& rules,
                 QObject* parent = nullptr);

    // Call when the tree has changed: a label (after a write) or the whole tree (after a build).
    void TreeRebuilt();
    void LabelChanged();
    // Checks the file now and tells the views.
    void Refresh();
    // Holds the checks the tree's changes ask for until `widget` has been painted once, so that
    // a window coming up shows its tree before the first check runs.
    void HoldUntilPainted(QWidget* widget);
    // Checks the file as the bottom of the game's layers chosen by `choice` (for the rules
    // path): the findings across layers on the file's lines join its own. Without it, or when
    // a layer file cannot be read, the file is checked alone.
    void SetLayers(std::function<gamesetup::LayerChoice(const std::string& rulesPath)> choice);
    // Which layer of the game the open file is: its findings are the ones shown, its reading
    // gives the "game reads" line, and the other layers are the ones that override it. The rules
    // file unless a layer is edited.
    void SetEditedLayer(gameview::Layer layer) { m_edited = layer; }
    gameview::Layer EditedLayer() const { return m_edited; }

    const std::vector<MarkedFinding>& Findings() const { return m_findings; }
    // The number of key lines the game reads in the file, as of the last check.
    int KeysSet() const { return m_keysSet; }
    // The worst level among an item's findings, and all their messages; nothing when none.
    bool HasMark(TreeItem item) const { return m_marks.count(item) != 0; }
    gameview::Level MarkLevel(TreeItem item) const;
    QString MarkText(TreeItem item) const;
    // The number the game compares between network players, of the rules file as last checked
    // (the one beneath an edited layer); nothing when it could not be read.
    std::optional<std::uint32_t> Fingerprint() const { return m_fingerprint; }
    // "The game plays: 250 (AFTRMATH.INI, line 123)" when a layer above the file decides the
    // item's value; empty otherwise.
    QString GamePlays(TreeItem item) const;
    // The tree's item of a key of the file as of the last check (the section's item when the
    // tree has no item for the key and `orSection`); kNoItem when none.
    TreeItem ItemAt(const std::string& section, const std::string& key, bool orSection) const;
    // The "game reads" line of `item` from the file as the last check read it; nothing before the
    // first check or when the file could not be read.
    std::optional<QString> GameReads(TreeItem item) const;
    // The layer that decides the item's value when it is not the edited file (nor the game's
    // built-in value): its file and line. Nothing otherwise, or before the layers were read.
    std::optional<gameview::LayerValue> Decider(TreeItem item) const;
    // What each layer up to `last` gives the item's key, as of the last check; nothing when the
    // layers were not read or the game never reads the key.
    std::optional<gameview::KeyResolution> Resolution(TreeItem item, gameview::Layer last) const;
    // Whether a later layer decides the item's value.
    bool IsOverridden(TreeItem item) const { return m_overridden.count(item) != 0; }

    // What the last check changed, for views that repaint only that: whether its findings differ
    // from the check before (or every item may have moved: the tree was built anew), and the
    // items whose mark (its level, whether it has one, whether it is overridden) changed.
    bool FindingsChanged() const { return m_findingsChanged; }
    bool AllMarksChanged() const { return m_allMarksChanged; }
    const std::vector<TreeItem>& ChangedMarks() const { return m_changedMarks; }

signals:
    void Refreshed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Mark {
        gameview::Level level = gameview::Level::Note;
        std::vector<std::size_t> findings;  // into m_findings, in their order
    };
    void IndexTree();
    // Notes what the check just made changed against the marks and findings before it.
    void NoteChanges(const std::vector<MarkedFinding>& findings, const std::unordered_map<TreeItem, Mark>& marks,
                     const std::unordered_set<TreeItem>& overridden);
    void ScheduleCheck();
    TreeItem ItemOf(const gameview::Finding& finding) const;
    // The rules file as the last check read it (the layers' reading when they were read), or
    // nullptr when it could not be read.
    const gameview::GameIni* CheckedGame() const;

    const Tree& m_tree;
    const ItemFileAccess& m_items;
    const RulesFileAccess& m_rules;
    QTimer m_pending;
    QObject* m_holdUntilPainted = nullptr;
    bool m_heldCheck = false;
    int m_keysSet = 0;
    bool m_indexStale = true;
    std::unordered_map<std::string, TreeItem> m_sectionItems;  // lower-case section name
    std::unordered_map<std::string, TreeItem> m_keyItems;      // lower-case "section\tkey"
    std::vector<MarkedFinding> m_findings;
    std::unordered_map<TreeItem, Mark> m_marks;
    std::optional<std::uint32_t> m_fingerprint;
    std::function<gamesetup::LayerChoice(const std::string&)> m_layers;
    std::unordered_set<TreeItem> m_overridden;
    bool m_findingsChanged = true;
    bool m_allMarksChanged = true;
    std::vector<TreeItem> m_changedMarks;
    gameview::Layer m_edited = gameview::Layer::Rules;
    std::optional<gameview::LayerStack> m_stack;  // the layers of the last check
    // The rules file as read by the last check without layers (the document's reading).
    std::shared_ptr<const gameview::GameIni> m_game;
};

}  // namespace morvane::app
