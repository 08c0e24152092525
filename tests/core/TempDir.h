#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace morvane::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
    // A folder under `base`, e.g. a memory file system for a test that writes thousands of times.
    explicit TempDir(const std::filesystem::path& base) {
        std::string pattern = (base / "morvane-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace morvane::test
