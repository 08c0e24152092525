#include "editor/EditHistory.h"

#include "platform/FileAccess.h"

namespace morvane {

LabelPicture TakeLabels(const Tree& tree) {
    LabelPicture values(tree.ItemCount() + 1);
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) values[item] = tree.GetItemValue(item);
    return values;
}

std::vector<LabelChange> ChangedLabels(const LabelPicture& before, const Tree& tree) {
    std::vector<LabelChange> changes;
    for (TreeItem item = 1; item <= tree.ItemCount() && item < before.size(); ++item) {
        const std::optional<std::string>& now = tree.GetItemValue(item);
        if (now != before[item]) changes.push_back({item, before[item], now});
    }
    return changes;
}

void EditHistory::Record(EditStep step) {
    m_steps.resize(m_next);
    m_steps.push_back(std::move(step));
    m_next = m_steps.size();
}

void EditHistory::Clear() {
    m_steps.clear();
    m_next = 0;
}

EditHistory::FileState EditHistory::Check(const std::string& path, const std::string& expected) {
    return platform::ReadFileBytes(path).value_or("") == expected ? FileState::AsLeft : FileState::Changed;
}

EditHistory::FileState EditHistory::CheckUndo(const std::string& path) const {
    return Check(path, NextUndo().bytesAfter);
}

EditHistory::FileState EditHistory::CheckRedo(const std::string& path) const {
    return Check(path, NextRedo().bytesBefore);
}

int EditHistory::Replace(const std::string& path, const std::string& expected, const std::string& bytes,
                         bool evenIfChanged) {
    if (evenIfChanged) return platform::ReplaceFileAtomically(path, bytes);
    // A file that was not there reads as nothing: compare it as empty, as Check does.
    if (!platform::ReadFileBytes(path) && expected.empty()) return platform::ReplaceFileAtomically(path, bytes);
    return platform::ReplaceFileIfUnchanged(path, expected, bytes);
}

int EditHistory::Undo(const std::string& path, Tree& tree, bool evenIfChanged) {
    const EditStep& step = NextUndo();
    if (const int error = Replace(path, step.bytesAfter, step.bytesBefore, evenIfChanged)) return error;
    for (const LabelChange& change : step.labels) tree.SetItemValue(change.item, change.before);
    --m_next;
    return 0;
}

int EditHistory::Redo(const std::string& path, Tree& tree, bool evenIfChanged) {
    const EditStep& step = NextRedo();
    if (const int error = Replace(path, step.bytesBefore, step.bytesAfter, evenIfChanged)) return error;
    for (const LabelChange& change : step.labels) tree.SetItemValue(change.item, change.after);
    ++m_next;
    return 0;
}

}  // namespace morvane
