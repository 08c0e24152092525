#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace morvane::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
    // A folder under `parent`, e.g. a memory file system for a test that writes thousands of times.
    explicit TempDir(const std::filesystem::path& parent) {
        // create_directory is false for a name that exists, so the folder is ours alone.
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = parent / ("morvane-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(m_path)) return;
        }
        std::abort();
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The path of `name` (UTF-8) inside the folder, for the standard library's file calls.
    std::filesystem::path PathOf(const std::string& name) const {
        return m_path / std::filesystem::path(std::u8string(name.begin(), name.end()));
    }
    // The same path as UTF-8, the program's spelling of paths.
    std::string File(const std::string& name) const {
        const std::u8string path = PathOf(name).u8string();
        return std::string(path.begin(), path.end());
    }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace morvane::test
