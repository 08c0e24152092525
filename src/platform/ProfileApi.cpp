#include "platform/ProfileApi.h"

#include <memory>
#include <unordered_map>

#include "common/TextOps.h"
#include "platform/FileAccess.h"
#include "platform/IniDocument.h"

namespace morvane::platform {
namespace {

struct CachedDocument {
    FileIdentity identity;
    std::shared_ptr<const IniDocument> document;
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
    const auto identity = IdentifyFile(path);
    auto& cache = Cache();
    if (!identity) {
        cache.erase(path);
        return nullptr;
    }
    const auto found = cache.find(path);
    if (found != cache.end() && found->second.identity == *identity) return found->second.document;
    auto bytes = ReadFileBytes(path);
    if (!bytes) {
        cache.erase(path);
        return nullptr;
    }
    auto document = std::make_shared<const IniDocument>(std::move(*bytes));
    // A file changed while it was read gets a new identity and is read again next time.
    if (const auto after = IdentifyFile(path); after && *after == *identity)
        cache[path] = CachedDocument{*identity, document};
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

std::string GetPrivateProfileString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    const std::string& path) {
    const auto document = Load(path);
    if (!document) return std::string(defaultValue);
    const auto value = document->Find(section, key);
    return std::string(value ? *value : defaultValue);
}

int WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                              const std::string& path) {
    if (Trim(section).empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos ||
        !IsStorableKey(key) || HasLineBreak(value) || value.find(';') != std::string_view::npos)
        return kErrorInvalidParameter;

    std::string current;
    if (IdentifyFile(path)) {
        // Always edit what is on disk now, not what an earlier read saw.
        auto bytes = ReadFileBytes(path);
        if (!bytes) return kErrorAccessDenied;
        current = std::move(*bytes);
    }
    auto edited = std::make_shared<const IniDocument>(IniDocument(std::move(current)).WithValue(section, key, value));
    const int error = ReplaceFileAtomically(path, edited->Bytes());
    Cache().erase(path);
    BatchFiles().erase(path);
    if (error != 0) return error;
    if (const auto identity = IdentifyFile(path)) Cache()[path] = CachedDocument{*identity, std::move(edited)};
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
