#include "rulesfile/RulesFileAccess.h"

#include "common/TextOps.h"
#include "gameview/GameKeys.h"
#include "platform/ProfileApi.h"
#include "rulesfile/SaveFailureMessage.h"

namespace morvane {
namespace {

// Why the game (or this file's own reader) would not read the write back as written, in words.
std::string WhyRefused(const platform::ProfileWrite& write) {
    const std::string where = "[" + write.section + "] " + write.key + ": ";
    const std::string_view value(write.value);
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return where +
               "a value cannot hold a line break: the text after it would be a line of its own. Write the "
               "value on one line.";
    if (const std::size_t note = value.find(';'); note != std::string_view::npos)
        return where + "a value cannot hold \";\": the game takes everything from it on for a note and would read '" +
               std::string(Trim(value.substr(0, note))) + "' only. Write the value without \";\".";
    if (write.section.find_first_of("]\r\n") != std::string::npos || Trim(write.section).empty())
        return where + "a section name cannot be empty or hold \"]\" or a line break.";
    return where +
           "a key cannot be empty, start with \";\" or \"[\", or hold \"=\" or a line break: it would not read "
           "back as a key.";
}

std::string CutMessage(const std::vector<platform::IniDocument::CutLine>& cut, const std::string& path) {
    std::string message;
    for (const platform::IniDocument::CutLine& line : cut)
        message += "[" + line.section + "] " + line.key + ": the line would have " + std::to_string(line.length) +
                   " characters, and the game reads only the first 127 of a line, so it would lose the last " +
                   std::to_string(line.length - 127) + ". Shorten the value.\n";
    return message + "Nothing was written to " + path + ".";
}

}  // namespace

RulesFileAccess::RulesFileAccess(MessageSink& messages) : m_messages(messages) {}

std::optional<std::string> RulesFileAccess::ReadValue(std::string_view section, std::string_view key) const {
    return m_document.Value(section, key);
}

int RulesFileAccess::WriteValue(const std::string& section, const std::string& key, const std::string& value) {
    const platform::ProfileWrite write{section, key, value};
    return WriteValues(std::span<const platform::ProfileWrite>(&write, 1));
}

int RulesFileAccess::WriteValues(std::span<const platform::ProfileWrite> writes) {
    const gameview::GameKeys& keys = gameview::GameKeys::BuiltIn();
    std::vector<platform::ProfileWrite> spelled;
    spelled.reserve(writes.size());
    for (const platform::ProfileWrite& write : writes) {
        if (!platform::IsStorable(write)) {
            m_messages.ShowMessage(
                SaveFailureMessage(platform::kErrorInvalidParameter, write.section, write.key, RulesPath()) + "\n" +
                    WhyRefused(write),
                RulesPath());
            return platform::kErrorInvalidParameter;
        }
        gameview::GameKeys::Spelling spelling = keys.SpellingOf(Trim(write.section), Trim(write.key));
        spelled.push_back({std::move(spelling.section), std::move(spelling.key), write.value});
    }
    std::vector<platform::IniDocument::CutLine> cut;
    const platform::GameWrite forTheGame{m_forceLongLines, &cut};
    WriteRecord record;
    const int error = m_document.Write(spelled, &record, &forTheGame);
    if (error == platform::kErrorLineTooLong) {
        m_messages.ShowMessage(CutMessage(cut, RulesPath()), RulesPath());
    } else if (error != 0 && !writes.empty()) {
        const platform::ProfileWrite& first = writes.front();
        m_messages.ShowMessage(SaveFailureMessage(error, first.section, first.key, RulesPath()), RulesPath());
    } else if (error == 0) {
        ShowWriteWarning();
    }
    if (error == 0) m_written.Add(std::move(record));
    return error;
}

int RulesFileAccess::RemoveValue(const std::string& section, const std::string& key) {
    // Whatever line the key has when the file is locked goes, as a write would replace it; a
    // file without the key then is left alone (and a missing file is not made).
    WriteRecord record;
    const int error = m_document.Remove(section, key, &record);
    if (error != 0) {
        m_messages.ShowMessage(SaveFailureMessage(error, section, key, RulesPath()), RulesPath());
        return error;
    }
    ShowWriteWarning();
    m_written.Add(std::move(record));
    return 0;
}

void RulesFileAccess::ShowWriteWarning() {
    const platform::FileFailure last = platform::LastFileFailure();
    if (last.error == 0 && last.problem != platform::FileProblem::None)
        m_messages.ShowMessage(platform::DescribeFileFailure(last, RulesPath()), RulesPath());
}

}  // namespace morvane
