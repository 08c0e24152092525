#pragma once

#include <QDockWidget>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "compare/RulesDelta.h"
#include "compare/RulesDiff.h"
#include "rulesfile/RulesFileAccess.h"
#include "schema/StringTable.h"
#include "tree/Tree.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace morvane::app {

class FindingMarks;

// The open rules file against a reference: the game's stock values (the catalogue's defaults,
// as a complete rules file) or a second rules file. After every check of the open file it
// compares how the game plays both and keeps the keys that differ, placed on the tree's items.
class ReferenceCompare : public QObject {
    Q_OBJECT
public:
    ReferenceCompare(const StringTable& catalogue, const FindingMarks& marks, const RulesFileAccess& rules,
                     QObject* parent = nullptr);

    // The stock values become the reference.
    void UseStockValues();
    // A rules file becomes the reference; false, with the reason in `error`, when it cannot be read.
    bool UseFile(const std::string& path, std::string& error);
    bool IsStock() const { return m_path.empty(); }
    const std::string& FilePath() const { return m_path; }
    // "stock values", or the reference file's name.
    QString Name() const;

    // Compares the open file with the reference again.
    void Refresh();

    // What the game plays differently in the open file, in the game's order; `a` is the
    // reference's value, `b` the file's.
    const std::vector<compare::KeyDifference>& Differences() const { return m_differences; }
    // The tree items that gained or lost a difference in the last refresh: the rows to paint again.
    const std::vector<TreeItem>& ChangedItems() const { return m_changedItems; }
    // The tree's item of a difference: the key's, or its section's when the tree has no item for
    // the key; kNoItem when neither is in the tree.
    TreeItem ItemOf(const compare::KeyDifference& difference) const;
    // The difference on a key item; nullptr when the game plays the key as the reference does.
    const compare::KeyDifference* DifferenceAt(TreeItem item) const;
    // "Differs from stock values: 400" for a key item that differs; empty otherwise.
    QString MarkText(TreeItem item) const;
    // What the game reads differently in the open file than in the reference, as a rules file
    // to read on top of the reference; nothing when the open file cannot be read.
    std::optional<compare::RulesDelta> Delta() const;

signals:
    void Refreshed();

private:
    // The reference's bytes: the file read anew (the last bytes read when it has gone), or the
    // stock values.
    const std::string& ReferenceBytes() const;

    const StringTable& m_catalogue;
    const FindingMarks& m_marks;
    const RulesFileAccess& m_rules;
    std::string m_path;           // empty: the stock values
    mutable std::string m_bytes;  // of the reference, as last read
    mutable std::string m_stock;  // made on first use
    // The reference as the game reads it, and the bytes it was read from: read again only
    // when the reference's bytes changed.
    std::shared_ptr<const gameview::GameIni> m_referenceGame;
    std::string m_referenceGameOf;
    std::vector<compare::KeyDifference> m_differences;
    std::unordered_map<TreeItem, std::size_t> m_byItem;
    std::vector<TreeItem> m_changedItems;
};

// The reference's value of the key shown in the editor, with a button that writes it into the
// file. Hidden while the shown key plays as the reference does.
class ReferenceRow : public QWidget {
    Q_OBJECT
public:
    explicit ReferenceRow(const ReferenceCompare& reference, QWidget* parent = nullptr);

    void Show(TreeItem item);
    QLabel* Text() const { return m_text; }
    QPushButton* TakeButton() const { return m_take; }

signals:
    void TakeRequested();

private:
    const ReferenceCompare& m_reference;
    QLabel* m_text = nullptr;
    QPushButton* m_take = nullptr;
};

// View > Differences: every key the game plays differently from the reference, one row each as
// "[SECTION] KEY", the reference's value and the file's. A click (or Enter) on a row chooses the
// key's tree item.
class DifferencesDock : public QDockWidget {
    Q_OBJECT
public:
    explicit DifferencesDock(const ReferenceCompare& reference, QWidget* parent = nullptr);

    void Fill();
    QTreeWidget* List() const { return m_list; }
    QLabel* Summary() const { return m_summary; }
    // The rows as shown, for tests and tools: "[SECTION] KEY: A -> B".
    QStringList ShownRows() const;

signals:
    void ItemChosen(TreeItem item);

private:
    const ReferenceCompare& m_reference;
    QLabel* m_summary = nullptr;
    QTreeWidget* m_list = nullptr;
};

}  // namespace morvane::app
