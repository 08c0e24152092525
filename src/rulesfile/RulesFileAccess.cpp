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
    if (error != 0)
        m_messages.ShowMessage(SaveFailureMessage(error, section, key, m_strRulesPath, value), m_strRulesPath);
    else
        ShowWriteWarning();
    return error;
}

int RulesFileAccess::WriteValues(std::span<const platform::ProfileWrite> writes) {
    const int error = platform::WritePrivateProfileStrings(writes, m_strRulesPath);
    if (error != 0 && !writes.empty()) {
        // A refused batch names the write that is refused, any other failure the first.
        const platform::ProfileWrite* named = &writes.front();
        for (const platform::ProfileWrite& write : writes)
            if (error == platform::kErrorInvalidParameter && !platform::RefusalOf(write).empty()) {
                named = &write;
                break;
            }
        m_messages.ShowMessage(SaveFailureMessage(error, named->section, named->key, m_strRulesPath, named->value),
                               m_strRulesPath);
    } else if (error == 0) {
        ShowWriteWarning();
    }
    return error;
}

void RulesFileAccess::ShowWriteWarning() {
    const platform::FileFailure last = platform::LastFileFailure();
    if (last.error == 0 && last.problem != platform::FileProblem::None)
        m_messages.ShowMessage(platform::DescribeFileFailure(last, m_strRulesPath), m_strRulesPath);
}

}  // namespace morvane
