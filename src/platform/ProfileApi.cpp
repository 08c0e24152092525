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

// A key that would read back as something else: a comment, a section header, or split at "=".
bool IsStorableKey(std::string_view key) {
    const std::string_view trimmed = Trim(key);
    return !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[' &&
           key.find('=') == std::string_view::npos && !HasLineBreak(key);
}

}  // namespace

bool IsStorable(const ProfileWrite& write) {
    return !Trim(write.section).empty() && !HasLineBreak(write.section) &&
           write.section.find(']') == std::string::npos && IsStorableKey(write.key) && !HasLineBreak(write.value) &&
           write.value.find(';') == std::string::npos;
}

namespace {

// The cached parse of the file when it holds exactly `bytes`, else nothing.
std::shared_ptr<const IniDocument> CachedParseOf(const std::string& path, const std::string& bytes) {
    const auto found = Cache().find(path);
    if (found == Cache().end() || !found->second.document || found->second.document->Bytes() != bytes) return nullptr;
    return found->second.document;
}

}  // namespace

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

int WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path, FileIdentity* written,
                               const GameWrite* forTheGame) {
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
            std::optional<IniDocument> fresh;
            const IniDocument& document = cached ? *cached : fresh.emplace(current.value_or(""));
            if (forTheGame == nullptr) {
                replacement = document.WithValues(edits);
            } else {
                std::vector<IniDocument::CutLine> cut;
                replacement = document.WithValuesForTheGame(edits, &cut);
                if (forTheGame->cutLines != nullptr) *forTheGame->cutLines = cut;
                if (!cut.empty() && !forTheGame->force) return kErrorLineTooLong;
            }
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
