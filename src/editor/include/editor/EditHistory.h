#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tree/Tree.h"

namespace morvane {

// A key item's value a step changed (and with it the item's label): before and after, nothing
// where the file did not hold the key.
struct LabelChange {
    TreeItem item = kNoItem;
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// One write the user can take back: the whole file before and after it (a file that did not
// exist counts as empty), and the labels it changed.
struct EditStep {
    std::string description;  // "Apply Cost", "Match All Cost", ...
    std::string bytesBefore;
    std::string bytesAfter;
    std::vector<LabelChange> labels;
};

// Every key item's value, indexed by item: the picture of the tree before a step.
using LabelPicture = std::vector<std::optional<std::string>>;
LabelPicture TakeLabels(const Tree& tree);
// The key items whose values differ between a picture taken before a step and the tree now.
std::vector<LabelChange> ChangedLabels(const LabelPicture& before, const Tree& tree);

// The writes made on one open file, in order, with a cursor between the done and the undone
// ones. Undo and Redo put the whole file back as the step found or left it, and its labels.
class EditHistory {
public:
    enum class FileState {
        AsLeft,   // the file holds exactly the bytes the step expects
        Changed,  // someone else changed it since
    };

    // Adds a step after the cursor; the undone steps beyond it are dropped.
    void Record(EditStep step);
    void Clear();

    bool CanUndo() const { return m_next > 0; }
    bool CanRedo() const { return m_next < m_steps.size(); }
    const EditStep& NextUndo() const { return m_steps[m_next - 1]; }
    const EditStep& NextRedo() const { return m_steps[m_next]; }

    // Whether the file at `path` is still as the step to undo left it (or, for redo, as the
    // undone step found it).
    FileState CheckUndo(const std::string& path) const;
    FileState CheckRedo(const std::string& path) const;

    // Puts the file back and restores the labels; the cursor moves only on success. With
    // `evenIfChanged` a file changed since is replaced all the same (the user agreed).
    // Returns the error number of the replace (0 on success).
    int Undo(const std::string& path, Tree& tree, bool evenIfChanged);
    int Redo(const std::string& path, Tree& tree, bool evenIfChanged);

private:
    static FileState Check(const std::string& path, const std::string& expected);
    static int Replace(const std::string& path, const std::string& expected, const std::string& bytes,
                       bool evenIfChanged);

    std::vector<EditStep> m_steps;
    std::size_t m_next = 0;  // the number of done steps
};

}  // namespace morvane
