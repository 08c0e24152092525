#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gameview/Finding.h"
#include "gameview/GameIni.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"
#include "platform/ProfileApi.h"

namespace morvane {

// What one write did to one key's line (see IniDocument::LineChange).
using KeyLineChange = platform::IniDocument::LineChange;

// What one or more writes did to the file, taken inside their locked edits: each key's line
// before and after, and whether the first of them made the file.
struct WriteRecord {
    std::vector<KeyLineChange> lines;
    bool madeFile = false;

    bool Empty() const { return lines.empty() && !madeFile; }
    // Adds what a later write did: a key written twice keeps the line it had before the first.
    void Add(WriteRecord later);
    // About what the record takes in memory.
    std::size_t MemoryBytes() const;
};

// One open rules file: its path, the identity and bytes of the file as last read or written,
// and what is made of those bytes (the editor's parse, the game's reading, the check's
// findings), each made once per change of the bytes and only when first asked for.
//
// The file is read when something is first asked of it and again only through Refresh(), when
// its identity changed. A write edits the file under its lock and keeps the bytes it wrote, so
// the document never reads back what it wrote itself.
class RulesDocument {
public:
    explicit RulesDocument(std::string path = {});

    const std::string& Path() const { return m_path; }
    // Another file: everything read from the old one is forgotten.
    void SetPath(std::string path);

    // Reads the file again when its identity is not the one last seen (or it was never read).
    // Returns whether the bytes held changed.
    bool Refresh();
    // The next question reads the file anew.
    void Forget();

    // Whether the last read found a readable file.
    bool Exists() const;
    const std::optional<platform::FileIdentity>& Identity() const;
    // The bytes (empty when there is no file).
    const std::string& Bytes() const;
    // The same bytes, for holders that keep them beyond the next change (the copy a deleted
    // file is made again from, say): shared, not copied.
    std::shared_ptr<const std::string> SharedBytes() const;
    const platform::IniDocument& Ini() const;
    const gameview::GameIni& Game() const;
    // The same reading, for holders that keep it beyond the next change of the bytes (the
    // layers of the last check, say): the bytes' one parse is shared, never made twice.
    std::shared_ptr<const gameview::GameIni> SharedGame() const;
    const std::vector<gameview::Finding>& Findings() const;

    // A key's value as the editor reads it: white space trimmed, an inline note after ";" cut
    // off; nothing when the file does not hold the key. Any text is a value, "Empty" too.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // The entry the game finds for the key, or nullptr when the game does not see it.
    const gameview::GameEntry* GameEntry(std::string_view section, std::string_view key) const;

    // The writes in one locked edit of the file as it is on disk at that moment (see
    // WritePrivateProfileStrings for what is refused). On success the document holds the
    // written bytes, and `record`, when given, what the edit did. Returns 0 or the error
    // number; on failure the file and the document stay as they were.
    // With `forTheGame`, the file is edited for the game's reader and a line the game would cut
    // is refused (see WritePrivateProfileStrings).
    int Write(std::span<const platform::ProfileWrite> writes, WriteRecord* record = nullptr,
              const platform::GameWrite* forTheGame = nullptr);

    // Takes the key's line out of the file in one locked edit (the game then uses its built-in
    // value); `record`, when given, gets the line taken out, or stays empty when the file did
    // not hold the key. Nothing is written then.
    int Remove(const std::string& section, const std::string& key, WriteRecord* record = nullptr);

    // Puts the keys' lines back to `before` (undo) or forward to `after` (redo) in one locked
    // edit. Each key's line must still be what the record left it (`after`, or `before` for a
    // redo), else kErrorFileChanged is returned and nothing is written, unless `evenIfChanged`.
    // Lines of other keys, another program's writes among them, are kept either way. A section
    // the record added goes again on undo when nothing else is left in it, and a file it made
    // goes again when nothing else is left in that.
    enum class Direction { Back, Forward };
    int PutLines(const WriteRecord& record, Direction direction, bool evenIfChanged);

    // Whether the last write or put found on disk other bytes than the ones held (another
    // program's change, kept in what was written): what is shown of the file is then older.
    bool LastEditKeptOutsideChange() const { return m_keptOutsideChange; }

    // Replaces the whole file with `bytes` (a file deleted under the window made again).
    int Replace(const std::string& bytes);

private:
    // Makes the new bytes from the parse of the file as it is under the lock (the held parse when
    // its bytes are the ones held), and whether the file is missing; 0 or an error that calls the
    // edit off.
    using ParsedEdit =
        std::function<int(const platform::IniDocument& document, bool missing, std::string& replacement)>;
    // One locked edit of the file. On success the document takes the bytes written (no read
    // back) and notes whether they kept another program's change.
    int EditParsed(const ParsedEdit& edit);

    void EnsureRead() const;
    void Took(std::string bytes, const platform::FileIdentity& identity);
    void Gone();
    void ClearDerived() const;
    // The parse of `current`: the held one when the bytes are the same, else a new one.
    const platform::IniDocument& ParseOf(const std::optional<std::string>& current,
                                         std::optional<platform::IniDocument>& fresh) const;

    std::string m_path;
    // What is read lazily, on the first question (hence mutable).
    mutable bool m_read = false;
    mutable std::optional<platform::FileIdentity> m_identity;
    mutable bool m_exists = false;
    mutable std::shared_ptr<const std::string> m_bytes;  // never null; shared with the parse
    mutable std::unique_ptr<platform::IniDocument> m_ini;
    mutable std::shared_ptr<const gameview::GameIni> m_game;
    mutable std::unique_ptr<std::vector<gameview::Finding>> m_findings;
    bool m_keptOutsideChange = false;
};

// The value the editor shows for what the profile reader found: cut at the first ";" (an
// inline note), trailing white space removed.
std::string EditorValueOf(std::string_view found);
// The same as a view into `found`.
std::string_view EditorValueView(std::string_view found);

}  // namespace morvane
