#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ProfileApi.h"
#include "rulesfile/MessageSink.h"
#include "rulesfile/RulesDocument.h"

namespace morvane {

// The open rules file seen as sections and keys: one value read as the tree shows it, writes
// with the save-failure message on failure. It holds the file's RulesDocument and knows
// nothing of tree items; the tree layer's ItemFileAccess turns items into sections and keys.
class RulesFileAccess {
public:
    explicit RulesFileAccess(MessageSink& messages);

    void SetRulesPath(std::string path) { m_document.SetPath(std::move(path)); }
    const std::string& RulesPath() const { return m_document.Path(); }

    RulesDocument& Document() { return m_document; }
    const RulesDocument& Document() const { return m_document; }

    // The value of a key as the tree shows it, or nothing when the file does not hold it.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;

    // Writes take the game's spelling of the section and key, land where the game reads them
    // (see IniDocument::WithValuesForTheGame) and are refused, with a message saying why, when
    // the game would read something else: a value holding a line break or ";", a line the game
    // cuts at 127 characters (unless forced).
    void SetForceLongLines(bool force) { m_forceLongLines = force; }

    // One write of a key, with the save-failure message on failure; returns the error number.
    int WriteValue(const std::string& section, const std::string& key, const std::string& value);
    // Several keys in one read and one replace of the file: all are written or none. The
    // save-failure message names the first key of the batch.
    int WriteValues(std::span<const platform::ProfileWrite> writes);

    // Takes the key's line out of the file (the game then uses its built-in value), with the
    // save-failure message on failure; returns the error number. Nothing to take out is no error.
    int RemoveValue(const std::string& section, const std::string& key);

    // What the successful writes since the last call did, taken inside their locked edits (the
    // history's record of one step). Taking it starts a new record.
    WriteRecord TakeWritten() { return std::exchange(m_written, {}); }

private:
    // A write that succeeded with a warning (an error reported on closing the flushed file).
    void ShowWriteWarning();

    MessageSink& m_messages;
    RulesDocument m_document;
    WriteRecord m_written;
    bool m_forceLongLines = false;
};

}  // namespace morvane
