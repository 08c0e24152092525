#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "rulesfile/RulesDocument.h"
#include "tree/Tree.h"

namespace morvane {

// A key item's value a step changed (and with it the item's label): before and after, nothing
// where the file did not hold the key.
struct LabelChange {
    TreeItem item = kNoItem;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// Every key item's value, indexed by item: the picture of the tree before a step.
using LabelPicture = std::vector<std::optional<std::string>>;
LabelPicture TakeLabels(const Tree& tree);
// The key items whose values differ between a picture taken before a step and the tree now.
std::vector<LabelChange> ChangedLabels(const LabelPicture& before, const Tree& tree);

// One write the user can take back: the lines of the keys it changed, as its locked edits found
// and left them (whether it made the file, too), and the labels it changed.
struct EditStep {
    std::string description;  // "Apply Cost", "Match All Cost", ...
    WriteRecord written;
    std::vector<LabelChange> labels;

    std::size_t MemoryBytes() const;
};

// How much history is kept: the oldest steps go once there are more than `steps` of them or
// they take more than `bytes` together. The newest step is always kept.
struct HistoryLimits {
    std::size_t steps = 1000;
    std::size_t bytes = std::size_t{8} * 1024 * 1024;
};

// The writes made on one open file, in order, with a cursor between the done and the undone
// ones. Undo and redo are one move, back or forward, that puts the step's lines into the
// file through the document (which refuses a line another program changed since) and sets
// its labels.
class EditHistory {
public:
    using Direction = RulesDocument::Direction;

    explicit EditHistory(HistoryLimits limits = {}) : m_limits(limits) {}

    // Adds a step after the cursor; the undone steps beyond it are dropped, then the oldest
    // ones beyond the limits.
    void Record(EditStep step);
    void Clear();

    bool CanMove(Direction direction) const {
        return direction == Direction::Back ? m_done > 0 : m_done < m_steps.size();
    }
    bool CanUndo() const { return CanMove(Direction::Back); }
    bool CanRedo() const { return CanMove(Direction::Forward); }
    // The step a move in `direction` would take back or make again (CanMove must be true).
    const EditStep& Next(Direction direction) const {
        return direction == Direction::Back ? m_steps[m_done - 1] : m_steps[m_done];
    }

    // Puts the next step's lines back (or forward) in the document's file and its labels in
    // the tree; the cursor moves only on success. A line changed since by someone else makes
    // it fail with kErrorFileChanged, unless `evenIfChanged` (the user agreed to overwrite it).
    // Returns 0 or the error number.
    int Move(Direction direction, RulesDocument& document, Tree& tree, bool evenIfChanged);

    std::size_t StepCount() const { return m_steps.size(); }
    std::size_t MemoryBytes() const { return m_bytes; }

private:
    HistoryLimits m_limits;
    std::deque<EditStep> m_steps;
    std::size_t m_done = 0;   // the number of done steps
    std::size_t m_bytes = 0;  // what the steps take, by their MemoryBytes
};

}  // namespace morvane
