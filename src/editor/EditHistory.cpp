#include "editor/EditHistory.h"

namespace morvane {

LabelPicture TakeLabels(const Tree& tree) {
    LabelPicture values(tree.ItemCount() + 1);
    for (TreeItem item = 1; item <= tree.ItemCount(); ++item) values[item] = tree.GetItemValue(item);
    return values;
}

std::vector<LabelChange> ChangedLabels(const LabelPicture& before, const Tree& tree) {
    std::vector<LabelChange> changes;
    for (TreeItem item = 1; item <= tree.ItemCount() && item < before.size(); ++item) {
        const std::optional<std::string_view> now = tree.GetItemValue(item);
        if (now != before[item]) changes.push_back({item, before[item], std::optional<std::string>(now)});
    }
    return changes;
}

std::size_t EditStep::MemoryBytes() const {
    std::size_t bytes = sizeof(EditStep) + description.capacity() + written.MemoryBytes();
    for (const LabelChange& label : labels)
        bytes += sizeof(LabelChange) + (label.before ? label.before->capacity() : 0) +
                 (label.after ? label.after->capacity() : 0);
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
        if (change.item <= tree.ItemCount()) tree.SetItemValue(change.item, back ? change.before : change.after);
    if (back)
        --m_done;
    else
        ++m_done;
    return 0;
}

}  // namespace morvane
