#include "platform/ProfileApi.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"

namespace morvane::platform {
namespace {

std::optional<FileIdentity> IdentityOf(const std::string& path) { return IdentifyFile(path); }

// A file this program wrote is parsed only when it is read next.
struct CachedDocument {
    FileIdentity identity;
    std::shared_ptr<const IniDocument> document;
    std::string unparsed;
};

std::unordered_map<std::string, CachedDocument>& Cache() {
    static std::unordered_map<std::string, CachedDocument> cache;
    return cache;
}

// The files already looked at in the open read batch, and what was found (null: unreadable).
int g_batchDepth = 0;
std::unordered_map<std::string, std::shared_ptr<const IniDocument>>& BatchFiles() {
    static std::unordered_map<std::string, std::shared_ptr<const IniDocument>> files;
    return files;
}

std::shared_ptr<const IniDocument> LoadChecked(const std::string& path);

// The parsed file, from the cache while the file is unchanged; nothing when it cannot be read.
std::shared_ptr<const IniDocument> Load(const std::string& path) {
    if (g_batchDepth == 0) return LoadChecked(path);
    auto& batch = BatchFiles();
    const auto found = batch.find(path);
    if (found != batch.end()) return found->second;
    auto document = LoadChecked(path);
    batch.emplace(path, document);
    return document;
}

std::shared_ptr<const IniDocument> LoadChecked(const std::string& path) {
    const auto identity = IdentityOf(path);
    auto& cache = Cache();
    if (!identity) {
        cache.erase(path);
        return nullptr;
    }
    const auto found = cache.find(path);
    if (found != cache.end() && found->second.identity == *identity) {
        CachedDocument& cached = found->second;
        if (!cached.document) cached.document = std::make_shared<const IniDocument>(std::move(cached.unparsed));
        return cached.document;
    }
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        cache.erase(path);
        return nullptr;
    }
    auto document = std::make_shared<const IniDocument>(std::move(*bytes));
    // A file changed while it was read gets a new identity and is read again next time.
    if (const auto after = IdentityOf(path); after && *after == *identity)
        cache[path] = CachedDocument{*identity, document, {}};
    return document;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsStorable(const ProfileWrite& write) { return RefusalOf(write).empty(); }

// The cached parse of the file when it holds exactly `bytes`, else nothing.
std::shared_ptr<const IniDocument> CachedParseOf(const std::string& path, const std::string& bytes) {
    const auto found = Cache().find(path);
    if (found == Cache().end() || !found->second.document || found->second.document->Bytes() != bytes) return nullptr;
    return found->second.document;
}

}  // namespace

std::string RefusalOf(const ProfileWrite& write) {
    if (HasLineBreak(write.section) || HasLineBreak(write.key) || HasLineBreak(write.value))
        return "a line break would end the line there, and the rest would be read as a line of its own";
    if (Trim(write.section).empty()) return "the section name is empty, and no section can be found by it";
    if (write.section.find(']') != std::string::npos)
        return "\"]\" in the section name [" + write.section + "] would end the name there";
    const std::string_view key = Trim(write.key);
    if (key.empty()) return "the key name is empty, and no key can be found by it";
    if (key.front() == ';') return "the key " + write.key + " begins with \";\", which makes the line a note";
    if (key.front() == '[') return "the key " + write.key + " begins with \"[\", which makes the line a section header";
    if (key.find('=') != std::string_view::npos)
        return "\"=\" in the key " + write.key + " would split it there: the rest would be read as the value";
    if (write.value.find(';') != std::string::npos)
        return "\";\" in the value " + write.value + " begins a note: only what comes before it would be read";
    return "";
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& path) {
    const auto document = Load(path);
    if (!document) return std::string(defaultValue);
    const auto value = document->Find(section, key);
    return std::string(value ? *value : defaultValue);
}

int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const std::string& path) {
    const ProfileWrite write{std::string(section), std::string(key), std::string(value)};
    return WritePrivateProfileStrings(std::span<const ProfileWrite>(&write, 1), path);
}

int WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path, FileIdentity* written) {
    for (const ProfileWrite& write : writes)
        if (!IsStorable(write)) return kErrorInvalidParameter;
    if (writes.empty()) return 0;

    std::vector<IniDocument::Edit> edits;
    edits.reserve(writes.size());
    for (const ProfileWrite& write : writes) edits.push_back({write.section, write.key, write.value});
    std::string bytes;
    // Always edit what is on disk now, not what an earlier read saw; its parse is reused when
    // the bytes are the same.
    FileIdentity identity;
    const int error = EditFile(
        path,
        [&](const std::optional<std::string>& current, std::string& replacement) {
            const auto cached = current ? CachedParseOf(path, *current) : nullptr;
            replacement = cached ? cached->WithValues(edits) : IniDocument(current.value_or("")).WithValues(edits);
            bytes = replacement;
            return 0;
        },
        &identity);
    Cache().erase(path);
    BatchFiles().erase(path);
    if (error != 0) return error;
    Cache()[path] = CachedDocument{identity, nullptr, std::move(bytes)};
    if (written != nullptr) *written = identity;
    return 0;
}

ProfileReadBatch::ProfileReadBatch() { ++g_batchDepth; }

ProfileReadBatch::~ProfileReadBatch() {
    if (--g_batchDepth == 0) BatchFiles().clear();
}

void ForgetProfileCache() {
    Cache().clear();
    BatchFiles().clear();
}

}  // namespace morvane::platform
