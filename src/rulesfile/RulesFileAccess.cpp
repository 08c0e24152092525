#include "rulesfile/RulesFileAccess.h"

#include "rulesfile/ValueLabel.h"

namespace morvane {

RulesFileAccess::RulesFileAccess(MessageSink& messages) : m_messages(messages) {}

std::optional<std::string> RulesFileAccess::ReadValue(std::string_view section, std::string_view key) const {
    return m_document.Value(section, key);
}

int RulesFileAccess::WriteValue(const std::string& section, const std::string& key, const std::string& value) {
    const platform::ProfileWrite write{section, key, value};
    return WriteValues(std::span<const platform::ProfileWrite>(&write, 1));
}

int RulesFileAccess::WriteValues(std::span<const platform::ProfileWrite> writes) {
    std::vector<KeyLineChange> changes;
    const int error = m_document.Write(writes, &changes);
    if (error != 0 && !writes.empty()) {
        const platform::ProfileWrite& first = writes.front();
        m_messages.ShowMessage(SaveFailureMessage(error, first.section, first.key, RulesPath()), RulesPath());
    }
    if (error == 0) m_lastChanges = std::move(changes);
    return error;
}

}  // namespace morvane
