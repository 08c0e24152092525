#include "app/FindingMarks.h"

#include <QEvent>
#include <algorithm>

#include "common/TextOps.h"
#include "compare/Fingerprint.h"
#include "gameview/GameCheck.h"
#include "gameview/GameIni.h"
#include "gameview/GameKeys.h"
#include "gameview/GameLayers.h"
#include "gameview/GameReading.h"
#include "guicommon/Latin1.h"

using morvane::guicommon::ToQt;

namespace morvane::app {
namespace {

// Names match without regard to case: a finding about "[general]" belongs on General's item.
std::string KeyOf(std::string_view section, std::string_view key) {
    return ToLowerAscii(section) + '\t' + ToLowerAscii(key);
}

int Severity(gameview::Level level) {
    return level == gameview::Level::Error ? 2 : level == gameview::Level::Warning ? 1 : 0;
}

}  // namespace

FindingMarks::FindingMarks(const Tree& tree, const ItemFileAccess& items, const RulesFileAccess& rules, QObject* parent)
    : QObject(parent), m_tree(tree), m_items(items), m_rules(rules) {
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &FindingMarks::Refresh);
}

void FindingMarks::TreeRebuilt() {
    m_indexStale = true;
    ScheduleCheck();
}

void FindingMarks::LabelChanged() { ScheduleCheck(); }

void FindingMarks::ScheduleCheck() {
    if (m_holdUntilPainted != nullptr)
        m_heldCheck = true;
    else
        m_pending.start();
}

void FindingMarks::HoldUntilPainted(QWidget* widget) {
    m_holdUntilPainted = widget;
    widget->installEventFilter(this);
    if (m_pending.isActive()) {  // a check asked for already waits too
        m_pending.stop();
        m_heldCheck = true;
    }
}

bool FindingMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_holdUntilPainted && event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        m_holdUntilPainted = nullptr;
        // The timer fires once this paint is over and on screen.
        if (m_heldCheck) m_pending.start();
        m_heldCheck = false;
    }
    return QObject::eventFilter(watched, event);
}

void FindingMarks::IndexTree() {
    m_sectionItems.clear();
    m_keyItems.clear();
    for (TreeItem item = 1; item <= m_tree.ItemCount(); ++item) {
        if (m_tree.GetItemData(item).nameId != 0 && m_tree.ItemHasChildren(item))
            m_sectionItems.emplace(ToLowerAscii(m_items.SectionNameOf(item)), item);
        if (m_tree.ItemHasChildren(item) || m_tree.GetItemData(item).infoId == 0) continue;
        const TreeItem section = m_items.FindSectionItem(item);
        if (section == kNoItem) continue;
        m_keyItems.emplace(KeyOf(m_items.SectionNameOf(section), m_tree.GetItemKey(item)), item);
    }
    m_indexStale = false;
}

TreeItem FindingMarks::ItemOf(const gameview::Finding& finding) const {
    return ItemAt(finding.section, finding.key, true);
}

TreeItem FindingMarks::ItemAt(const std::string& section, const std::string& key, bool orSection) const {
    if (!key.empty()) {
        const auto found = m_keyItems.find(KeyOf(section, key));
        if (found != m_keyItems.end()) return found->second;
    }
    if (!orSection) return kNoItem;
    const auto found = m_sectionItems.find(ToLowerAscii(section));
    return found == m_sectionItems.end() ? kNoItem : found->second;
}

void FindingMarks::Refresh() {
    m_pending.stop();
    m_heldCheck = false;
    const bool indexed = m_indexStale;
    if (m_indexStale) IndexTree();
    bool layersRead = false;
    // A file that cannot be read (not made yet, say) has nothing to find.
    std::vector<gameview::LayerFinding> findings;
    m_stack.reset();
    const RulesDocument& document = m_rules.Document();
    if (m_layers && document.Exists()) {
        gamesetup::LayerChoice choice = m_layers(m_rules.RulesPath());
        if (choice.rules == m_rules.RulesPath()) choice.rulesGame = document.SharedGame();
        auto loaded = gamesetup::LoadLayers(choice);
        if (auto* layers = std::get_if<gamesetup::LoadedLayers>(&loaded)) {
            for (gameview::LayerFinding& finding : layers->stack.CheckAll())
                if (finding.layer == m_edited) findings.push_back(std::move(finding));
            layersRead = true;
            m_stack = std::move(layers->stack);
        }
    }
    // The file's own reading, from the document (the layers hold it already when they were
    // read): what it sets, its findings when the layers were not read, and its fingerprint.
    m_keysSet = 0;
    m_fingerprint.reset();
    m_game.reset();
    const gameview::GameIni* ini = CheckedGame();
    if (ini == nullptr && document.Exists()) {
        m_game = document.SharedGame();
        ini = m_game.get();
    }
    if (ini != nullptr) {
        for (const gameview::GameSection& section : ini->Sections())
            m_keysSet += static_cast<int>(section.entries.size());
        if (!layersRead)
            for (const gameview::Finding& finding : document.Findings())
                findings.push_back({m_edited, finding, std::nullopt});
        // The fingerprint is the rules file's alone: the game compares no other layer.
        const gameview::GameIni* rules = m_edited == gameview::Layer::Rules ? ini
                                         : m_stack                          ? m_stack->Ini(gameview::Layer::Rules)
                                                                            : nullptr;
        if (rules != nullptr) m_fingerprint = compare::Fingerprint(*rules);
    }

    // The previous check's results stay until the new ones are compared with them.
    std::vector<MarkedFinding> previousFindings = std::move(m_findings);
    std::unordered_map<TreeItem, Mark> previousMarks = std::move(m_marks);
    std::unordered_set<TreeItem> previousOverridden = std::move(m_overridden);
    m_findings.clear();
    m_marks.clear();
    m_overridden.clear();
    m_findings.reserve(findings.size());
    for (gameview::LayerFinding& layered : findings) {
        gameview::Finding& finding = layered.finding;
        const TreeItem item = ItemOf(finding);
        if (item != kNoItem && layered.overriddenBy) m_overridden.insert(item);
        if (item != kNoItem) {
            // The mark's text is made when it is asked for (a tooltip, a find).
            Mark& mark = m_marks[item];
            if (mark.findings.empty() || Severity(finding.level) > Severity(mark.level)) mark.level = finding.level;
            mark.findings.push_back(m_findings.size());
        }
        m_findings.push_back({std::move(finding), item});
    }
    NoteChanges(previousFindings, previousMarks, previousOverridden);
    m_allMarksChanged = indexed;
    emit Refreshed();
}

void FindingMarks::NoteChanges(const std::vector<MarkedFinding>& findings,
                               const std::unordered_map<TreeItem, Mark>& marks,
                               const std::unordered_set<TreeItem>& overridden) {
    const auto same = [](const MarkedFinding& a, const MarkedFinding& b) {
        return a.item == b.item && a.finding.line == b.finding.line && a.finding.level == b.finding.level &&
               a.finding.section == b.finding.section && a.finding.key == b.finding.key &&
               a.finding.message == b.finding.message;
    };
    m_findingsChanged = !std::equal(findings.begin(), findings.end(), m_findings.begin(), m_findings.end(), same);
    m_changedMarks.clear();
    for (const auto& [item, mark] : m_marks) {
        const auto before = marks.find(item);
        if (before == marks.end() || before->second.level != mark.level) m_changedMarks.push_back(item);
    }
    for (const auto& [item, mark] : marks)
        if (m_marks.count(item) == 0) m_changedMarks.push_back(item);
    for (const TreeItem item : m_overridden)
        if (overridden.count(item) == 0) m_changedMarks.push_back(item);
    for (const TreeItem item : overridden)
        if (m_overridden.count(item) == 0) m_changedMarks.push_back(item);
}

const gameview::GameIni* FindingMarks::CheckedGame() const {
    if (m_game) return m_game.get();
    return m_stack ? m_stack->Ini(m_edited) : nullptr;
}

std::optional<QString> FindingMarks::GameReads(TreeItem item) const {
    const gameview::GameIni* game = CheckedGame();
    if (game == nullptr) return std::nullopt;
    if (item == kNoItem || m_tree.ItemHasChildren(item) || m_tree.GetItemData(item).infoId == 0) return QString();
    const TreeItem section = m_items.FindSectionItem(item);
    if (section == kNoItem) return QString();
    return ToQt(gameview::DescribeGameReading(gameview::GameKeys::BuiltIn(), *game, m_items.SectionNameOf(section),
                                              m_tree.GetItemKey(item)));
}

std::optional<gameview::KeyResolution> FindingMarks::Resolution(TreeItem item, gameview::Layer last) const {
    if (!m_stack || item == kNoItem || m_tree.ItemHasChildren(item) || m_tree.GetItemData(item).infoId == 0)
        return std::nullopt;
    const TreeItem sectionItem = m_items.FindSectionItem(item);
    if (sectionItem == kNoItem) return std::nullopt;
    const auto named = m_stack->Keys().FindNamed(m_items.SectionNameOf(sectionItem), m_tree.GetItemKey(item));
    if (!named || !named->kind->read) return std::nullopt;
    return m_stack->Resolve(*named->kind, *named->key, named->section, last);
}

std::optional<gameview::LayerValue> FindingMarks::Decider(TreeItem item) const {
    const auto resolution = Resolution(item, gameview::Layer::Mplayer);
    if (!resolution || resolution->winner == gameview::Layer::BuiltIn || resolution->winner == m_edited)
        return std::nullopt;
    return resolution->At(resolution->winner);
}

QString FindingMarks::GamePlays(TreeItem item) const {
    const auto winner = Decider(item);
    if (!winner) return QString();
    if (winner->layer == gameview::Layer::Forced)
        return QStringLiteral("The game plays: ") + ToQt(winner->text) +
               QStringLiteral(" (set by the game in skirmish and multiplayer games)");
    const std::string& path = winner->file;
    const std::size_t slash = path.find_last_of("/\\");
    return QStringLiteral("The game plays: %1 (%2, line %3)")
        .arg(ToQt(winner->text), ToQt(slash == std::string::npos ? path : path.substr(slash + 1)))
        .arg(winner->line);
}

void FindingMarks::SetLayers(std::function<gamesetup::LayerChoice(const std::string&)> choice) {
    m_layers = std::move(choice);
    ScheduleCheck();
}

gameview::Level FindingMarks::MarkLevel(TreeItem item) const {
    const auto found = m_marks.find(item);
    return found == m_marks.end() ? gameview::Level::Note : found->second.level;
}

QString FindingMarks::MarkText(TreeItem item) const {
    const auto found = m_marks.find(item);
    if (found == m_marks.end()) return QString();
    QString text;
    for (const std::size_t index : found->second.findings) {
        const gameview::Finding& finding = m_findings[index].finding;
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QStringLiteral("Line %1, %2: ").arg(finding.line).arg(QLatin1String(LevelWord(finding.level))) +
                ToQt(finding.message);
    }
    return text;
}

}  // namespace morvane::app
