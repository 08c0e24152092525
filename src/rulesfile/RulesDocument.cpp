#include "rulesfile/RulesDocument.h"

#include <algorithm>

#include "common/TextOps.h"
#include "gameview/GameCheck.h"
#include "gameview/GameKeys.h"

namespace morvane {

namespace {

std::optional<std::string_view> ViewOf(const std::optional<std::string>& line) {
    if (!line) return std::nullopt;
    return std::string_view(*line);
}

bool SameLine(const std::optional<std::string_view>& line, const std::optional<std::string_view>& expected) {
    if (line.has_value() != expected.has_value()) return false;
    return !line || *line == *expected;
}

bool SameKey(const KeyLineChange& a, const KeyLineChange& b) {
    return EqualsNoCase(a.section, b.section) && EqualsNoCase(a.key, b.key);
}

// The record's lines put into `document`; false (and nothing made) when one of them is no
// longer what the record left it and `evenIfChanged` does not allow that.
bool WithLinesPut(const platform::IniDocument& document, const WriteRecord& record, bool back, bool evenIfChanged,
                  std::string& replacement) {
    std::vector<platform::IniDocument::LineEdit> edits;
    edits.reserve(record.lines.size());
    for (const KeyLineChange& change : record.lines) {
        const std::optional<std::string_view> after = ViewOf(change.after);
        const std::optional<std::string_view> from = back ? after : ViewOf(change.before);
        const std::optional<std::string_view> to = back ? ViewOf(change.before) : after;
        if (!evenIfChanged && !SameLine(document.LineOf(change.section, change.key), from)) return false;
        edits.push_back({change.section, change.key, to, back && !change.sectionExisted, ViewOf(change.follows)});
    }
    replacement = document.WithLines(edits);
    return true;
}

}  // namespace

void WriteRecord::Add(WriteRecord later) {
    if (lines.empty() && !madeFile) madeFile = later.madeFile;
    for (KeyLineChange& change : later.lines) {
        const auto earlier =
            std::find_if(lines.begin(), lines.end(), [&](const KeyLineChange& line) { return SameKey(line, change); });
        if (earlier == lines.end()) {
            lines.push_back(std::move(change));
        } else {
            earlier->after = std::move(change.after);
        }
    }
}

std::size_t WriteRecord::MemoryBytes() const {
    std::size_t bytes = sizeof(WriteRecord);
    for (const KeyLineChange& change : lines)
        bytes += sizeof(KeyLineChange) + change.section.capacity() + change.key.capacity() +
                 (change.before ? change.before->capacity() : 0) + (change.after ? change.after->capacity() : 0);
    return bytes;
}

std::string_view EditorValueView(std::string_view found) { return TrimRight(SplitAtFirst(found, ';').before); }

std::string EditorValueOf(std::string_view found) { return std::string(EditorValueView(found)); }

namespace {

std::shared_ptr<const std::string> NoBytes() {
    static const auto none = std::make_shared<const std::string>();
    return none;
}

}  // namespace

RulesDocument::RulesDocument(std::string path) : m_path(std::move(path)), m_bytes(NoBytes()) {}

void RulesDocument::SetPath(std::string path) {
    m_path = std::move(path);
    Forget();
}

void RulesDocument::Forget() {
    m_read = false;
    m_identity.reset();
    m_exists = false;
    m_bytes = NoBytes();
    ClearDerived();
}

void RulesDocument::ClearDerived() const {
    m_ini.reset();
    m_game.reset();
    m_findings.reset();
}

bool RulesDocument::Refresh() {
    if (m_read && platform::IdentifyFile(m_path) == m_identity) return false;
    const bool hadFile = m_exists;
    const std::shared_ptr<const std::string> before = m_bytes;
    m_read = false;
    EnsureRead();
    return m_exists != hadFile || *m_bytes != *before;
}

void RulesDocument::EnsureRead() const {
    if (m_read) return;
    // The identity is taken before the bytes: a change during the read shows as a new identity
    // at the next Refresh, never as old bytes under a new identity.
    m_identity = platform::IdentifyFile(m_path);
    auto bytes = m_identity ? platform::ReadFileBytes(m_path) : std::nullopt;
    m_exists = bytes.has_value();
    if (!m_exists) m_identity.reset();
    m_bytes = bytes ? std::make_shared<const std::string>(std::move(*bytes)) : NoBytes();
    m_read = true;
    ClearDerived();
}

bool RulesDocument::Exists() const {
    EnsureRead();
    return m_exists;
}

const std::optional<platform::FileIdentity>& RulesDocument::Identity() const {
    EnsureRead();
    return m_identity;
}

const std::string& RulesDocument::Bytes() const {
    EnsureRead();
    return *m_bytes;
}

std::shared_ptr<const std::string> RulesDocument::SharedBytes() const {
    EnsureRead();
    return m_bytes;
}

const platform::IniDocument& RulesDocument::Ini() const {
    EnsureRead();
    if (!m_ini) m_ini = std::make_unique<platform::IniDocument>(m_bytes);
    return *m_ini;
}

const gameview::GameIni& RulesDocument::Game() const { return *SharedGame(); }

std::shared_ptr<const gameview::GameIni> RulesDocument::SharedGame() const {
    EnsureRead();
    if (!m_game) m_game = std::make_shared<const gameview::GameIni>(*m_bytes);
    return m_game;
}

const std::vector<gameview::Finding>& RulesDocument::Findings() const {
    EnsureRead();
    if (!m_findings) {
        m_findings = std::make_unique<std::vector<gameview::Finding>>();
        // A file that cannot be read (not made yet, say) has nothing to find.
        if (m_exists) *m_findings = gameview::CheckRulesFile(Game(), gameview::GameKeys::BuiltIn());
    }
    return *m_findings;
}

std::optional<std::string> RulesDocument::Value(std::string_view section, std::string_view key) const {
    const auto found = Ini().Find(section, key);
    if (!found) return std::nullopt;
    return EditorValueOf(*found);
}

const gameview::GameEntry* RulesDocument::GameEntry(std::string_view section, std::string_view key) const {
    return Game().Find(section, key);
}

const platform::IniDocument& RulesDocument::ParseOf(const std::optional<std::string>& current,
                                                    std::optional<platform::IniDocument>& fresh) const {
    // Compared in place: value_or would copy the whole file.
    if (m_read && current.has_value() == m_exists &&
        (current ? std::string_view(*current) : std::string_view()) == *m_bytes)
        return Ini();
    return fresh.emplace(current.value_or(std::string()));
}

void RulesDocument::Took(std::string bytes, const platform::FileIdentity& identity) {
    m_bytes = std::make_shared<const std::string>(std::move(bytes));
    m_identity = identity;
    m_exists = true;
    m_read = true;
    ClearDerived();
}

int RulesDocument::EditParsed(const ParsedEdit& edit) {
    std::string written;
    bool outside = false;
    platform::FileIdentity identity;
    const int error = platform::EditFile(
        m_path,
        [&](const std::optional<std::string>& current, std::string& replacement) {
            std::optional<platform::IniDocument> fresh;
            const platform::IniDocument& document = ParseOf(current, fresh);
            outside = fresh.has_value();
            return edit(document, !current.has_value(), replacement);
        },
        &identity, &written);
    if (error != 0) return error;
    Took(std::move(written), identity);
    m_keptOutsideChange = outside;
    return 0;
}

int RulesDocument::Write(std::span<const platform::ProfileWrite> writes, WriteRecord* record,
                         const platform::GameWrite* forTheGame) {
    for (const platform::ProfileWrite& write : writes)
        if (!platform::IsStorable(write)) return platform::kErrorInvalidParameter;
    if (writes.empty()) return 0;
    std::vector<platform::IniDocument::Edit> edits;
    edits.reserve(writes.size());
    for (const platform::ProfileWrite& write : writes) edits.push_back({write.section, write.key, write.value});

    std::vector<KeyLineChange> made;
    bool madeFile = false;
    const int error = EditParsed([&](const platform::IniDocument& document, bool missing, std::string& replacement) {
        made.clear();
        madeFile = missing;
        if (forTheGame == nullptr) {
            replacement = document.WithValues(edits, &made);
        } else {
            std::vector<platform::IniDocument::CutLine> cut;
            replacement = document.WithValuesForTheGame(edits, &cut, &made);
            if (forTheGame->cutLines != nullptr) *forTheGame->cutLines = cut;
            if (!cut.empty() && !forTheGame->force) return platform::kErrorLineTooLong;
        }
        return 0;
    });
    if (error != 0) return error;
    if (record != nullptr) *record = WriteRecord{std::move(made), madeFile};
    return 0;
}

int RulesDocument::Remove(const std::string& section, const std::string& key, WriteRecord* record) {
    std::optional<std::string> before;
    std::optional<std::string> follows;
    bool absent = false;
    const int error = EditParsed([&](const platform::IniDocument& document, bool, std::string& replacement) {
        const std::optional<std::string_view> line = document.LineOf(section, key);
        before = line ? std::optional<std::string>(*line) : std::nullopt;
        // A file without the key is left as it is (and a missing one is not made): the edit
        // is called off, which is no failure here.
        absent = !line;
        if (absent) return platform::kErrorFileChanged;
        follows = std::string(*document.KeyBefore(section, key));
        const platform::IniDocument::LineEdit removal{section, key, std::nullopt, false, std::nullopt};
        replacement = document.WithLines(std::span(&removal, 1));
        return 0;
    });
    if (absent) {
        if (record != nullptr) *record = WriteRecord{};
        return 0;
    }
    if (error != 0) return error;
    if (record != nullptr)
        *record = WriteRecord{{{section, key, std::move(before), std::nullopt, true, std::move(follows)}}, false};
    return 0;
}

int RulesDocument::PutLines(const WriteRecord& record, Direction direction, bool evenIfChanged) {
    const bool back = direction == Direction::Back;
    bool refused = false;
    const auto put = [&](const platform::IniDocument& document, std::string& replacement) {
        refused = !WithLinesPut(document, record, back, evenIfChanged, replacement);
        return refused ? platform::kErrorFileChanged : 0;
    };
    if (back && record.madeFile) {
        // The file goes again when nothing but what the record wrote is in it.
        bool outside = false;
        const int error = platform::RemoveFileIf(m_path, [&](const std::string& current) {
            std::optional<platform::IniDocument> fresh;
            const platform::IniDocument& document = ParseOf(current, fresh);
            outside = fresh.has_value();
            std::string replacement;
            return put(document, replacement) == 0 && replacement.find_first_not_of(" \t\r\n") == std::string::npos;
        });
        if (error == 0) {
            Gone();
            m_keptOutsideChange = outside;
            return 0;
        }
        if (refused || error != platform::kErrorFileChanged) return error;
    }
    return EditParsed([&](const platform::IniDocument& document, bool, std::string& replacement) {
        return put(document, replacement);
    });
}

void RulesDocument::Gone() {
    m_read = true;
    m_exists = false;
    m_identity.reset();
    m_bytes = NoBytes();
    ClearDerived();
}

int RulesDocument::Replace(const std::string& bytes) {
    platform::FileIdentity identity;
    const int error = platform::EditFile(
        m_path,
        [&](const std::optional<std::string>&, std::string& replacement) {
            replacement = bytes;
            return 0;
        },
        &identity);
    if (error != 0) return error;
    Took(bytes, identity);
    return 0;
}

}  // namespace morvane
