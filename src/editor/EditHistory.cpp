#include "editor/EditHistory.h"

namespace morvane {

std::vector<std::string> TakeLabels(const Tree& tree) {
    std::vector<std::string> labels(tree.ItemCount() + 1);
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) labels[item] = tree.GetItemText(item);
    return labels;
}

std::vector<LabelChange> ChangedLabels(const std::vector<std::string>& before, const Tree& tree) {
    std::vector<LabelChange> changes;
    for (TreeItem item = 1; item <= tree.ItemCount() && item < before.size(); ++item) {
        const std::string& now = tree.GetItemText(item);
        if (now != before[item]) changes.push_back({item, before[item], now});
    }
    return changes;
}

std::size_t EditStep::MemoryBytes() const {
    std::size_t bytes = sizeof(EditStep) + description.capacity() + written.MemoryBytes();
    for (const LabelChange& label : labels)
        bytes += sizeof(LabelChange) + label.before.capacity() + label.after.capacity();
    return bytes;
}

void EditHistory::Record(EditStep step) {
    while (m_steps.size() > m_done) {
        m_bytes -= m_steps.back().MemoryBytes();
        m_steps.pop_back();
    }
    m_bytes += step.MemoryBytes();
    m_steps.push_back(std::move(step));
    while (m_steps.size() > 1 && (m_steps.size() > m_limits.steps || m_bytes > m_limits.bytes)) {
        m_bytes -= m_steps.front().MemoryBytes();
        m_steps.pop_front();
    }
    m_done = m_steps.size();
}

void EditHistory::Clear() {
    m_steps.clear();
    m_done = 0;
    m_bytes = 0;
}

int EditHistory::Move(Direction direction, RulesDocument& document, Tree& tree, bool evenIfChanged) {
    if (!CanMove(direction)) return 0;
    const EditStep& step = Next(direction);
    if (const int error = document.PutLines(step.written, direction, evenIfChanged)) return error;
    const bool back = direction == Direction::Back;
    for (const LabelChange& change : step.labels)
        if (change.item <= tree.ItemCount()) tree.SetItemText(change.item, back ? change.before : change.after);
    if (back)
        --m_done;
    else
        ++m_done;
    return 0;
}

}  // namespace morvane
