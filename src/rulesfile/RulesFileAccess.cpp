#include "rulesfile/RulesFileAccess.h"

#include "platform/ProfileApi.h"
#include "rulesfile/ValueLabel.h"

namespace morvane {

RulesFileAccess::RulesFileAccess(MessageSink& messages) : m_messages(messages) {}

std::optional<std::string> RulesFileAccess::ReadValue(std::string_view section, std::string_view key) const {
    return ValueFromProfileText(platform::GetPrivateProfileString(section, key, "Empty", m_strRulesPath));
}

int RulesFileAccess::WriteValue(const std::string& section, const std::string& key, const std::string& value) {
    const int error = platform::WritePrivateProfileString(section, key, value, m_strRulesPath);
    if (error != 0) m_messages.ShowMessage(SaveFailureMessage(error, section, key, m_strRulesPath), m_strRulesPath);
    return error;
}

int RulesFileAccess::WriteValues(std::span<const platform::ProfileWrite> writes) {
    const int error = platform::WritePrivateProfileStrings(writes, m_strRulesPath);
    if (error != 0 && !writes.empty()) {
        const platform::ProfileWrite& first = writes.front();
        m_messages.ShowMessage(SaveFailureMessage(error, first.section, first.key, m_strRulesPath), m_strRulesPath);
    }
    return error;
}

}  // namespace morvane
